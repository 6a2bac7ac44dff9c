"""Every Python block of the README runs against the built module and prints
what its comments say.

A block is a fenced block marked `python`. It runs whole, in a fresh
namespace, with a settings folder and working folder of its own. A `print`
line may end in a comment that states its output:
  `# prints <literal>`: the printed value equals the Python literal;
  `# e.g. <literal>`: a sample of a random result: a printed dict has keys
  among the sample's and the same total of values; anything else has the
  sample's type.
"""

import ast
import pathlib
import re
import sys
import textwrap

import pytest

README = pathlib.Path(__file__).resolve().parent.parent / "README.md"
# A block may sit indented inside a list item; its lines are dedented.
BLOCK = re.compile(r"^( *)```python\n(.*?)^\1```", re.M | re.S)
CLAIM = re.compile(r"^\s*print\(.*\)\s*# (prints|e\.g\.) (.+)$")


def readme_blocks():
    text = README.read_text(encoding="utf-8")
    found = []
    for match in BLOCK.finditer(text):
        line = text.count("\n", 0, match.start()) + 2  # the block's first line in the file
        code = textwrap.dedent(match.group(2))
        found.append(pytest.param(code, id=f"README.md:{line}"))
    return found


def claims(code):
    """Line number in the block -> (kind, expected value) of each print claim."""
    found = {}
    for number, line in enumerate(code.splitlines(), start=1):
        match = CLAIM.match(line)
        if match:
            found[number] = (match.group(1), ast.literal_eval(match.group(2)))
    return found


def check_claim(kind, expected, printed):
    if kind == "prints":
        assert printed == expected
    elif isinstance(expected, dict):
        assert isinstance(printed, dict) and set(printed) <= set(expected)
        assert sum(printed.values()) == sum(expected.values())
    else:
        assert type(printed) is type(expected)


def test_readme_has_python_blocks():
    assert readme_blocks()


@pytest.mark.parametrize("code", readme_blocks())
def test_readme_block(code, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    monkeypatch.setenv("APPDATA", str(tmp_path))
    printed = {}

    def recording_print(*values, **options):
        line = sys._getframe(1).f_lineno
        printed.setdefault(line, []).append(values[0] if len(values) == 1 else values)
        print(*values, **options)

    namespace = {"__name__": "__readme__", "print": recording_print}
    exec(compile(code, "README block", "exec"), namespace)
    for line, (kind, expected) in claims(code).items():
        assert line in printed, f"line {line} of the block printed nothing"
        for value in printed[line]:
            check_claim(kind, expected, value)
