"""Runs a C program compiled by gcc for x86-64 and with -m32: the output
lines of the 8-byte run, then those of the 4-byte run. Where the kernel
runs no 32-bit program, qemu-i386 runs it."""
import os
import subprocess
import tempfile


def output_of(source_text, name, flags, libraries=()):
    """The output lines of one run, compiled with the given flags (the first
    names the address size: -m64 or -m32)."""
    with tempfile.TemporaryDirectory() as tmp:
        source = os.path.join(tmp, name + ".c")
        with open(source, "w") as f:
            f.write(source_text)
        exe = os.path.join(tmp, name + flags[0])
        subprocess.run(["gcc", *flags, "-std=c11", "-O0", "-w", source, "-o", exe, *libraries], check=True)
        try:
            run = subprocess.run([exe], check=True, capture_output=True, text=True)
        except OSError:
            run = subprocess.run(["qemu-i386", exe], check=True, capture_output=True, text=True)
        return run.stdout.splitlines()


def output_of_both(source_text, name, libraries=(), flags=None):
    if flags is not None:
        return output_of(source_text, name, flags, libraries)
    lines = []
    for flag in ("-m64", "-m32"):
        lines.extend(output_of(source_text, name, [flag], libraries))
    return lines
