"""TavironProvider through Python, with the settings folder in a temporary
folder (see conftest.py)."""

import re

import pytest

import TavironLib as tl

DEFAULT_ACCOUNT = {"name": "TavironDefaultUser", "token": "mhqz-rtva-kdxe-pwsl"}


def accounts_file(settings_folder):
    return settings_folder / "taviron" / "config.file"


def test_account_from_defaults_arguments_and_file(settings_folder):
    assert tl.TavironProvider().active_account() == DEFAULT_ACCOUNT
    # A single positional argument is the token.
    assert tl.TavironProvider("tok").active_account() == {
        "name": "TavironDefaultUser", "token": "tok"}
    path = accounts_file(settings_folder)
    path.parent.mkdir()
    path.write_text("alice,tok1,https://example.org,inst\n")
    assert tl.TavironProvider().active_account() == {"name": "alice", "token": "tok1"}
    assert tl.TavironProvider(name="bob").active_account() == {"name": "bob", "token": "tok1"}


@pytest.mark.parametrize("url, accepted", [
    ("https://example.org/path", True),
    ("example.org", True),
    ("https://Example.org", False),
    ("https://example.org:8080", False),
    ("https://example.org/a?b=c", False),
    ("localhost", False),
])
def test_url_argument(url, accepted):
    if accepted:
        tl.TavironProvider(url=url)
    else:
        with pytest.raises(RuntimeError, match=r"^The url provided is invalid$"):
            tl.TavironProvider(url=url)


def test_proxies_must_be_a_dict():
    with pytest.raises(TypeError):
        tl.TavironProvider(proxies=None)
    with pytest.raises(TypeError):
        tl.TavironProvider().save_account(proxies=None)
    tl.TavironProvider(proxies={"https": "x"}, verify=True)


def test_backends_and_get_backend():
    provider = tl.TavironProvider()
    with pytest.raises(TypeError):
        provider.backends()
    assert provider.backends("anything", region="x") == ["velmora_taviron"]
    with pytest.raises(TypeError):
        provider.get_backend(name="velmora_taviron")
    first = provider.get_backend("velmora_taviron", hub="x")
    second = provider.get_backend("velmora_taviron")
    assert isinstance(first, tl.BackendV2) and first is not second
    for name in ("Velmora_taviron", "velmora_taviron ", ""):
        with pytest.raises(RuntimeError, match=r"^Backend not found$"):
            provider.get_backend(name)


def test_save_list_and_delete_accounts(settings_folder):
    provider = tl.TavironProvider()
    assert provider.delete_account() is True
    # Positionally: token, url, instance, then name.
    assert provider.save_account("t1", "u1", "i1", "alice") is None
    assert accounts_file(settings_folder).read_text() == "alice,t1,u1,i1\n"
    provider.save_account(token="t2", name="bob")
    provider.save_account(token="t3", name="alice", overwrite=False)
    assert provider.saved_accounts() == {"alice": "t3", "bob": "t2"}
    assert provider.saved_accounts(True, "ignored") == {"alice": "t3", "bob": "t2"}
    assert provider.delete_account("alice") is True
    assert provider.saved_accounts() == {"bob": "t2"}
    # The provider keeps the account it was made with.
    assert provider.active_account() == DEFAULT_ACCOUNT


def test_a_file_that_is_not_utf8_is_refused_naming_it(settings_folder):
    provider = tl.TavironProvider()
    path = accounts_file(settings_folder)
    path.parent.mkdir()
    path.write_bytes(b"alice,tok\n\xff\xfe,tok\n")
    message = f"^Cannot read the accounts file {re.escape(str(path))}: line 2 is not UTF-8 text$"
    with pytest.raises(RuntimeError, match=message):
        provider.saved_accounts()
    with pytest.raises(RuntimeError, match=message):
        tl.TavironProvider()


def test_an_account_given_as_bytes_that_are_not_utf8_raises_unicode_decode_error():
    provider = tl.TavironProvider(name=b"\xff\xfe")
    with pytest.raises(UnicodeDecodeError):
        provider.active_account()
