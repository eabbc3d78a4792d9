# Shared paths and scripts of the Python tests. CTest runs them with the built package on
# PYTHONPATH and TAMREL_SOURCE_DIR / TAMREL_BUILD_DIR naming the checkout and the build.
import os
import pathlib

import pytest

SOURCE_DIR = pathlib.Path(os.environ.get("TAMREL_SOURCE_DIR", pathlib.Path(__file__).resolve().parents[2]))
SAMPLE = SOURCE_DIR / "examples" / "sample.rc"
CORPUS = SOURCE_DIR / "tests" / "data" / "corpus"
UTF16_SCRIPT = CORPUS / "International_unires_unires.rc"


def script(*lines: str) -> bytes:
    """A script from lines of text (Latin-1 for bytes above 0x7F), ended with CR LF."""
    return "".join(line + "\r\n" for line in lines).encode("latin-1")


@pytest.fixture
def sample():
    import tamrel
    return tamrel.load(SAMPLE)
