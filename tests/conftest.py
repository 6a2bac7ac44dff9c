"""Shared set-up for the tests of the installed TavironLib module."""

import pytest


@pytest.fixture(autouse=True)
def settings_folder(tmp_path, monkeypatch):
    """Every test sees its own empty application-data folder, so that no test
    reads or writes the saved accounts of the machine it runs on."""
    appdata = tmp_path / "appdata"
    appdata.mkdir()
    monkeypatch.setenv("APPDATA", str(appdata))
    return appdata
