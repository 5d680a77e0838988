# SPDX-License-Identifier: MIT
"""The program run by the Python checks, with or without an emulator.

A run that fails with nothing on either stream is not the program's doing:
every error it reports has words (and in the runs met, the case's own
warning, written before anything could fail, was missing too).  Under Wine
about one start in 1,500 exits with status 1 that way (3 in about 3,500
starts of gndfit.exe; none natively).  Such a run is started once more and
counted; a second silent failure stands."""
import subprocess

silent_failures_retried = 0


def run_program(command, **options):
    """subprocess.run(command, capture_output=True, **options), with the one
    retry above when command has an emulator before the program."""
    global silent_failures_retried
    result = subprocess.run(command, capture_output=True, **options)
    if (result.returncode != 0 and not result.stdout and not result.stderr
            and len(command) > 1 and "wine" in command[0]):
        silent_failures_retried += 1
        result = subprocess.run(command, capture_output=True, **options)
    return result
