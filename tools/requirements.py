"""Prints, one per line, the packages that tools/setup.sh installs into .venv:
the build requirements of pyproject.toml (so that pip can build the module
there without an isolated build environment) and its "test" extra.

Usage: python tools/requirements.py [pyproject.toml]
"""

import pathlib
import re
import sys


def read_lists(text):
    try:
        import tomllib
    except ImportError:  # Python before 3.11: the two lists are plain arrays of strings
        def array(key):
            found = re.search(r"^" + key + r"\s*=\s*\[(.*?)\]", text, re.M | re.S)
            return re.findall(r'"([^"]+)"', found.group(1)) if found else []
        return array("requires") + array("test")
    data = tomllib.loads(text)
    return (data["build-system"]["requires"]
            + data["project"].get("optional-dependencies", {}).get("test", []))


if __name__ == "__main__":
    root = pathlib.Path(__file__).resolve().parent.parent
    path = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else root / "pyproject.toml"
    print("\n".join(read_lists(path.read_text())))
