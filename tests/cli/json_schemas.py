"""vrdkctl's --json outputs against the JSON Schemas in docs/schemas/.

Usage: json_schemas.py VRDKCTL SCHEMA_DIR

Each output kind is produced on simulated mice of both memory types, before
and after changes that reach the optional parts of a layout (an MCU strip, a
macro in the mouse, fire scripts), and validated against its schema. Every
schema must be used, and each must refuse an output that lost a key, gained
one, or holds a wrong type, so a schema that accepts anything fails here.
"""

import copy
import json
import os
import pathlib
import subprocess
import sys
import tempfile

import jsonschema


def load_schemas(folder):
    store = {}
    for path in sorted(pathlib.Path(folder).glob("*.schema.json")):
        schema = json.loads(path.read_text())
        jsonschema.Draft202012Validator.check_schema(schema)
        store[path.name] = schema
    return store


def validator(store, name):
    # The schemas name each other by file name ("info.schema.json#/$defs/info").
    resolver = jsonschema.RefResolver(base_uri=name, referrer=store[name], store=store)
    return jsonschema.Draft202012Validator(store[name], resolver=resolver)


class Mouse:
    """One simulated mouse in a folder of its own, with its own library."""

    def __init__(self, vrdkctl, folder, memory_type):
        self.vrdkctl = vrdkctl
        self.folder = folder
        self.options = [
            "--simulate=" + os.path.join(folder, memory_type + ".bin"),
            "--memory-type=" + memory_type,
            "--library=" + os.path.join(folder, "Macro.bin"),
        ]
        self.env = dict(os.environ)
        for name in ("XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "HOME"):
            self.env[name] = folder
        self.env.pop("XDG_CURRENT_DESKTOP", None)

    def run(self, *args):
        result = subprocess.run([self.vrdkctl, *self.options, *args], env=self.env,
                                capture_output=True, text=True, timeout=60)
        if result.returncode != 0:
            raise AssertionError("vrdkctl %s: exit %d\n%s" % (" ".join(args), result.returncode,
                                                            result.stderr))
        return result.stdout

    def json(self, *args):
        return json.loads(self.run("--json", *args))


# Each command that prints data, with the schema of its output.
OUTPUTS = [
    (("info",), "info.schema.json"),
    (("export",), "settings.schema.json"),
    (("dump",), "dump.schema.json"),
    (("names",), "names.schema.json"),
    (("list",), "list.schema.json"),
    (("memory", "read", "0", "32"), "bytes.schema.json"),
    (("live", "read", "160", "8"), "bytes.schema.json"),
    (("xdata", "read", "0xF000"), "xdata.schema.json"),
    (("pointer", "show"), "pointer.schema.json"),
    (("library", "list"), "library-list.schema.json"),
    (("macro", "list"), "macro-list.schema.json"),
    (("firemacro", "list"), "firemacro-list.schema.json"),
]
# Shown only once the macro exists.
MACRO_OUTPUTS = [
    (("library", "show", "Walk"), "macro-lines.schema.json"),
    (("macro", "show", "Walk"), "macro-lines.schema.json"),
]

# Changes that fill the optional parts of the layouts.
CHANGES = [
    ("library", "new", "Walk"),
    ("macro", "add", "Walk"),
    ("button", "1", "4", "macro:Walk"),
    ("firemacro", "add", "--plain", "1", "3"),
    ("dpi", "levels", "8"),
    ("fire", "2", "7", "100", "--hold"),
]


def outputs_of(mouse, with_macro):
    for args, schema in OUTPUTS + (MACRO_OUTPUTS if with_macro else []):
        yield args, schema, mouse.json(*args)
    # apply prints the changes a document makes: here those of a document that
    # moves two settings off what the mouse holds.
    document = mouse.json("export")
    document["polling_rate"] = 500 if document["polling_rate"] != 500 else 250
    document["dpi"]["current"] = len(document["dpi"]["levels"])
    path = os.path.join(mouse.folder, "settings.json")
    with open(path, "w") as out:
        json.dump(document, out)
    yield ("apply", "--dry-run", path), "apply.schema.json", mouse.json("apply", "--dry-run", path)


def broken_copies(document):
    """Copies of an output that no schema of its kind may accept."""
    lost = copy.deepcopy(document)
    del lost["schema_version"]
    yield "without schema_version", lost
    gained = copy.deepcopy(document)
    gained["unknown_key"] = 1
    yield "with an unknown key", gained
    for key, value in document.items():
        if key == "schema_version":
            continue
        wrong = copy.deepcopy(document)
        # A value of another type: an object where the layout has anything else,
        # a number where it has an object.
        wrong[key] = 7 if isinstance(value, dict) else {"x": 1}
        yield "with %s of the wrong type" % key, wrong


def main():
    vrdkctl, schema_dir = sys.argv[1], sys.argv[2]
    store = load_schemas(schema_dir)
    validators = {name: validator(store, name) for name in store}
    used = set()
    failures = []
    checked = 0

    def check(label, schema, document):
        nonlocal checked
        checked += 1
        used.add(schema)
        errors = sorted(validators[schema].iter_errors(document), key=str)
        if errors:
            failures.append("%s does not match %s: %s at %s" % (
                label, schema, errors[0].message, "/".join(map(str, errors[0].absolute_path))))
        for what, broken in broken_copies(document):
            if validators[schema].is_valid(broken):
                failures.append("%s accepts %s %s" % (schema, label, what))

    for memory_type in ("I2C", "Flash"):
        with tempfile.TemporaryDirectory() as folder:
            mouse = Mouse(vrdkctl, folder, memory_type)
            for args, schema, document in outputs_of(mouse, with_macro=False):
                check("%s %s" % (memory_type, " ".join(args)), schema, document)
            if memory_type == "I2C":
                # First: a new LED type brings back the factory settings.
                mouse.run("led", "type", "MCULED")
            for change in CHANGES:
                mouse.run(*change)
            for args, schema, document in outputs_of(mouse, with_macro=True):
                check("%s %s after changes" % (memory_type, " ".join(args)), schema, document)
            dump = mouse.json("dump")
            if memory_type == "I2C" and dump["led"]["mcu"] is None:
                failures.append("the I2C mouse's MCU strip was not reached: the test lost a case")

    unused = sorted(set(store) - used)
    if unused:
        failures.append("schemas no output uses: " + ", ".join(unused))
    for failure in failures:
        print("not ok - " + failure)
    print("%d outputs checked against %d schemas, %d failures" % (checked, len(store), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
