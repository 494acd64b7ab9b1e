#!/usr/bin/env python3
"""The song reaches a real sound server: at launch, and after the server has come back or has
come up only after the application, from "Music On" and from a loop's next round."""

import glob
import os
import shutil
import tempfile

import desktop
from desktop import Failure
from soundserver import SoundServer

# The song's first three seconds or so, for loops whose next round comes soon.
CLIP_BYTES = 48000


def music(d, flag):
    """Chooses "Music Off" or "Music On", whichever the Adjust menu offers: its second item."""
    d.choose(flag, "Adjust", 2)


def loop(d, flag):
    """Chooses "Loop", the third item; the next start plays in a loop."""
    d.choose(flag, "Adjust", 3)


def heard(server, when):
    desktop.wait_for(f"the song heard {when}, one stream", server.playing)


def at_launch(d, flag, server):
    heard(server, "at launch")


def server_back_then_music_on(d, flag, server):
    heard(server, "at launch")
    server.stop()
    server.start()
    music(d, flag)
    music(d, flag)
    heard(server, "after Music Off and Music On")


def server_after_the_application_then_music_on(d, flag, server):
    server.start()
    music(d, flag)
    music(d, flag)
    heard(server, "after Music Off and Music On")


def server_after_the_application_while_looping(d, flag, server):
    loop(d, flag)
    music(d, flag)
    music(d, flag)
    server.start()
    heard(server, "from the loop's next round")


def server_back_while_looping(d, flag, server):
    loop(d, flag)
    music(d, flag)
    music(d, flag)
    heard(server, "looping")
    server.stop()
    server.start()
    heard(server, "from the loop's next round")


# (what, the server up at launch, a song short enough for loops, the steps)
CASES = [
    ("the song at launch", True, False, at_launch),
    ("the server restarted, then Music On", True, False, server_back_then_music_on),
    ("the server up after the application, then Music On", False, False, server_after_the_application_then_music_on),
    ("the server up after the application, while looping", False, True, server_after_the_application_while_looping),
    ("the server restarted while looping", True, True, server_back_while_looping),
]


def clip_bundle(executable, folder):
    """A copy of the application's bundle whose song is a short clip of the song; the
    executable path of the copy."""
    bundle = os.path.dirname(os.path.dirname(executable))
    songs = glob.glob(os.path.join(bundle, "**", "FlagSong.mp3"), recursive=True)
    if len(songs) != 1:
        raise Failure(f"no one song in the bundle {bundle}: {songs}")
    copy = os.path.join(folder, "bundle")
    song = os.path.join(copy, os.path.relpath(songs[0], bundle))
    os.makedirs(os.path.dirname(song))
    with open(songs[0], "rb") as whole, open(song, "wb") as clip:
        clip.write(whole.read(CLIP_BYTES))
    copied = os.path.join(copy, os.path.relpath(executable, bundle))
    os.makedirs(os.path.dirname(copied), exist_ok=True)
    shutil.copy2(executable, copied)
    return copied


def test(d, executable):
    failures = []
    with tempfile.TemporaryDirectory() as folder:
        clip_executable = clip_bundle(executable, folder)
        for what, server_first, short, steps in CASES:
            with SoundServer() as server:
                if server_first:
                    server.start()
                environment = d.env
                d.env = dict(environment, **server.client_env)
                try:
                    flag = d.launch(clip_executable if short else executable)
                finally:
                    d.env = environment
                try:
                    steps(d, flag, server)
                except Failure as failure:
                    failures.append(f"{what}: {failure}")
                d.activate(flag)
                d.key("ctrl+q")
                status = d.exit_status()
                if status != 0:
                    failures.append(f"{what}: exit status {status}")
    if failures:
        raise Failure("; ".join(failures))


desktop.main(test)
