# Builds the extension tamrel._tamrel with CMake (the project's own build, Release, without
# tests or the host program) for the interpreter that runs this script, and packages it with
# python/tamrel. Needs cmake, a C++20 compiler and the Debian packages pybind11-dev,
# python3-dev, libgettextpo-dev, libpugixml-dev, nlohmann-json3-dev, libfreetype-dev,
# libharfbuzz-dev and libfontconfig-dev (and the fonts of the fit check to run it); nothing is
# downloaded.
import os
import pathlib
import re
import shutil
import subprocess
import sys

from setuptools import Extension, setup
from setuptools.command.build_ext import build_ext

ROOT = pathlib.Path(__file__).resolve().parent


class CMakeExtension(Extension):
    def __init__(self, name):
        super().__init__(name, sources=[])


class CMakeBuild(build_ext):
    def build_extension(self, ext):
        target = pathlib.Path(self.get_ext_fullpath(ext.name)).resolve()
        build = pathlib.Path(self.build_temp).resolve() / "cmake"
        subprocess.run(["cmake", "-S", str(ROOT), "-B", str(build), "-DCMAKE_BUILD_TYPE=Release",
                        "-DTAMREL_BUILD_PYTHON=ON", "-DTAMREL_BUILD_TESTS=OFF", "-DTAMREL_BUILD_TOOL=OFF",
                        f"-DPython3_EXECUTABLE={sys.executable}"], check=True)
        jobs = os.environ.get("CMAKE_BUILD_PARALLEL_LEVEL", str(os.cpu_count() or 1))
        subprocess.run(["cmake", "--build", str(build), "--target", "_tamrel", "-j", jobs], check=True)
        built = next((build / "python" / "package" / "tamrel").glob("_tamrel*.so"))
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copyfile(built, target)


# The one version of the project, from project(VERSION) in CMakeLists.txt.
VERSION = re.search(r"project\(\w+\s+VERSION\s+([0-9.]+)", (ROOT / "CMakeLists.txt").read_text()).group(1)

setup(
    version=VERSION,
    packages=["tamrel"],
    package_dir={"tamrel": "python/tamrel"},
    package_data={"tamrel": ["*.pyi", "py.typed"]},
    ext_modules=[CMakeExtension("tamrel._tamrel")],
    cmdclass={"build_ext": CMakeBuild},
    zip_safe=False,
)
