# The README's Python example runs and prints what the README shows below it.
import os
import re
import subprocess
import sys

from conftest import SOURCE_DIR


def test_readme_example_prints_its_output():
    readme = (SOURCE_DIR / "README.md").read_text(encoding="utf-8")
    section = readme[readme.index("\n## Python\n"):]
    example = re.search(r"```python\n(.*?)```", section, re.S).group(1)
    shown = re.search(r"```python\n.*?```.*?```text\n(.*?)```", section, re.S).group(1)
    run = subprocess.run([sys.executable, "-c", example], cwd=SOURCE_DIR, env=os.environ,
                         capture_output=True, text=True, check=True)
    assert run.stdout == shown
