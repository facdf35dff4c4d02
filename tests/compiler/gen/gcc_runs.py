"""Runs a C program compiled by gcc for x86-64 and with -m32: the output
lines of the 8-byte run, then those of the 4-byte run."""
import os
import subprocess
import tempfile

def output_of_both(source_text, name, libraries=()):
    lines = []
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, name + ".c")
        with open(source, "w") as f:
            f.write(source_text)
        for flag in ("-m64", "-m32"):
            exe = os.path.join(tmp, name + flag)
            subprocess.run(["gcc", flag, "-std=c11", "-O0", "-w", source, "-o", exe, *libraries], check=True)
            run = subprocess.run([exe], check=True, capture_output=True, text=True)
            lines.extend(run.stdout.splitlines())
    return lines
