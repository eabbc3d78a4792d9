# `cmake --install` puts the package where the interpreter finds it: under the prefix at the
# interpreter's own library path for installed packages.
import os
import pathlib
import subprocess
import sys
import sysconfig

import pytest

BUILD_DIR = os.environ.get("TAMREL_BUILD_DIR")
CMAKE = os.environ.get("TAMREL_CMAKE", "cmake")


def cache_value(name):
    for line in (pathlib.Path(BUILD_DIR) / "CMakeCache.txt").read_text().splitlines():
        if line.startswith(name + ":"):
            return line.split("=", 1)[1]
    raise KeyError(name)


@pytest.mark.skipif(not BUILD_DIR, reason="run by CTest, which names the build")
def test_installed_package_imports(tmp_path):
    subprocess.run([CMAKE, "--install", BUILD_DIR, "--component", "python", "--prefix", str(tmp_path)],
                   check=True, capture_output=True)
    relative = cache_value("TAMREL_PYTHON_INSTALL_DIR")
    site = tmp_path / relative
    assert sorted(p.name for p in (site / "tamrel").iterdir() if not p.name.startswith("_tamrel.cpython")) == [
        "__init__.py", "_tamrel.pyi", "py.typed"]
    env = {k: v for k, v in os.environ.items() if k != "PYTHONPATH"}
    env["PYTHONPATH"] = str(site)
    found, version = subprocess.run([sys.executable, "-c", "import tamrel; print(tamrel.__file__, tamrel.__version__)"],
                                    env=env, check=True, capture_output=True, text=True).stdout.split()
    assert pathlib.Path(found).parent == site / "tamrel"
    source = pathlib.Path(cache_value("CMAKE_HOME_DIRECTORY")) / "CMakeLists.txt"
    assert f"VERSION {version} " in source.read_text()  # project(TamrelResourceFile VERSION x.y.z ...)
    # With the interpreter's usual prefix for local installs, that folder is on its path already.
    local = "/usr/local" if sysconfig.get_default_scheme() == "posix_local" else sys.prefix
    assert os.path.join(local, relative) in sys.path
