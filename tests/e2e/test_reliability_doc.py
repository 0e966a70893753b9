"""docs/reliability.md names, in its table, the test that proves each row; a
renamed or deleted test must make this fail rather than leave the document
claiming a proof that no longer exists.

A name in the table's last column, in backquotes, is one of
    module.Class.method   a Python unittest below tests/ (module.py holding
                          `class Class` with `def method`)
    Suite.Name            a GoogleTest below tests/ (TEST, TEST_F or TEST_P)
    a/path                a file of the repository (a fuzzer, a script)
"""

import os
import pathlib
import re
import unittest

SOURCE_DIR = pathlib.Path(os.environ.get("KESTREL_SOURCE_DIR",
                                         pathlib.Path(__file__).resolve().parents[2])).resolve()
DOCUMENT = SOURCE_DIR / "docs" / "reliability.md"
TESTS = SOURCE_DIR / "tests"


def table_rows(text):
    """The cells of every body row of the document's tables."""
    rows = []
    for line in text.splitlines():
        line = line.strip()
        if not line.startswith("|") or re.fullmatch(r"\|[\s:|-]+\|", line):
            continue
        rows.append([cell.strip() for cell in line.strip("|").split("|")])
    return rows


def named_tests(rows):
    """(row text, name) for every backquoted name in the last cell of a row
    whose first cell is not the header's."""
    names = []
    for cells in rows:
        if cells[0].lower() in ("fault or input", "fault"):
            continue
        found = re.findall(r"`([^`]+)`", cells[-1])
        names.extend((cells[0], name) for name in found)
        if not found:
            names.append((cells[0], None))
    return names


def gtest_exists(suite, name):
    pattern = re.compile(r"\bTEST(?:_F|_P)?\(\s*%s\s*,\s*%s\s*\)" % (re.escape(suite), re.escape(name)))
    return any(pattern.search(path.read_text(errors="replace")) for path in TESTS.rglob("*.cpp"))


def python_test_exists(module, cls, method):
    for path in TESTS.rglob(module + ".py"):
        text = path.read_text()
        class_at = re.search(r"^class %s\b.*$" % re.escape(cls), text, re.M)
        if class_at and re.search(r"^    def %s\(" % re.escape(method), text[class_at.end():], re.M):
            return True
    return False


def exists(name):
    if "/" in name:
        return (SOURCE_DIR / name).exists()
    parts = name.split(".")
    if len(parts) == 3:
        return python_test_exists(*parts)
    if len(parts) == 2:
        return gtest_exists(*parts)
    return False


class ReliabilityDocumentTests(unittest.TestCase):
    def test_every_row_names_a_test_that_exists(self):
        names = named_tests(table_rows(DOCUMENT.read_text()))
        self.assertGreater(len(names), 20, "the table is missing or unreadable")
        missing = [(row, name) for row, name in names if name is None or not exists(name)]
        self.assertEqual(missing, [], "rows naming no test, or a test that does not exist")

    def test_the_checker_tells_missing_names_from_present_ones(self):
        rows = table_rows("| Fault or input | Kestrel | Checked | Test |\n|---|---|---|---|\n"
                          "| a | b | c | `test_reliability_doc.ReliabilityDocumentTests."
                          "test_every_row_names_a_test_that_exists` |\n"
                          "| d | e | f | `NoSuchSuite.NoSuchTest` |\n| g | h | i | none |\n")
        found = [(row, name and exists(name)) for row, name in named_tests(rows)]
        self.assertEqual(found, [("a", True), ("d", False), ("g", None)])


if __name__ == "__main__":
    unittest.main(verbosity=2)
