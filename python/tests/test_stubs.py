# The type stubs describe the compiled module exactly: every name and member they declare
# exists, and every public name and member of the module is declared.
import ast
import inspect
import pathlib

import tamrel
from tamrel import _tamrel

STUB = pathlib.Path(tamrel.__file__).with_name("_tamrel.pyi")


def stub_names():
    tree = ast.parse(STUB.read_text())
    names = {}
    for node in tree.body:
        if isinstance(node, ast.ClassDef):
            members = set()
            for item in node.body:
                if isinstance(item, (ast.FunctionDef, ast.AsyncFunctionDef)):
                    members.add(item.name)
                elif isinstance(item, ast.AnnAssign):
                    members.add(item.target.id)
            names[node.name] = members
        elif isinstance(node, ast.FunctionDef):
            names[node.name] = None
    return names


def public_members(cls):
    return {name for name in vars(cls) if not name.startswith("_")}


def test_stub_declares_what_the_module_has():
    declared = stub_names()
    for name, members in declared.items():
        assert hasattr(_tamrel, name), name
        if members is not None:
            cls = getattr(_tamrel, name)
            for member in members - {"__init__"}:
                assert hasattr(cls, member), f"{name}.{member}"
            if cls is not _tamrel.RCError:
                assert public_members(cls) <= members, f"{name}: {public_members(cls) - members} not in the stub"
    module_names = {n for n in vars(_tamrel) if not n.startswith("__")}
    assert module_names <= set(declared), module_names - set(declared)


def test_package_exports_exist():
    for name in tamrel.__all__:
        assert hasattr(tamrel, name), name
    assert inspect.signature(tamrel.load).parameters["code_page"].kind is inspect.Parameter.KEYWORD_ONLY
