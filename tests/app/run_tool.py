"""Runs a validator, skipping (exit 77) when it is not installed.

    run_tool.py [--reject REGEX] TOOL ARGS...

Some validators print warnings yet exit 0; --reject fails on any output line
matching REGEX.
"""

import re
import shutil
import subprocess
import sys

SKIP = 77


def main(argv):
    reject = None
    if argv[:1] == ["--reject"]:
        reject, argv = re.compile(argv[1]), argv[2:]
    tool = shutil.which(argv[0])
    if tool is None:
        print(f"{argv[0]} is not installed", file=sys.stderr)
        return SKIP
    result = subprocess.run([tool, *argv[1:]], capture_output=True, text=True)
    output = result.stdout + result.stderr
    print(output, end="")
    if result.returncode != 0:
        return result.returncode
    if reject and any(reject.search(line) for line in output.splitlines()):
        print(f"output matches {reject.pattern!r}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
