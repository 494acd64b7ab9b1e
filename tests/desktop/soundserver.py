"""A PulseAudio server of a test's own: a null sink on a socket in a temporary folder, with no
system configuration, no D-Bus and no autospawn, read back through pactl and parec."""

import array
import os
import shutil
import subprocess
import tempfile
import time

import desktop
from desktop import Failure

RATE = 44100
CHANNELS = 2


class SoundServer:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="flag-sound-")
        self.socket = os.path.join(self.folder, "native")
        client_config = os.path.join(self.folder, "client.conf")
        with open(client_config, "w") as config:
            config.write("autospawn = no\n")
        # What a client needs to reach this server and no other; the cookie is kept here too,
        # so no client writes one into the home folder.
        self.client_env = {"PULSE_SERVER": "unix:" + self.socket, "PULSE_CLIENTCONFIG": client_config,
                           "PULSE_COOKIE": os.path.join(self.folder, "cookie")}
        self.process = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.stop()
        shutil.rmtree(self.folder, ignore_errors=True)

    def start(self):
        env = dict(os.environ, HOME=self.folder, XDG_RUNTIME_DIR=self.folder,
                   PULSE_RUNTIME_PATH=os.path.join(self.folder, "runtime"),
                   PULSE_STATE_PATH=os.path.join(self.folder, "state"),
                   DBUS_SESSION_BUS_ADDRESS="unix:path=" + os.path.join(self.folder, "no-bus"),
                   **self.client_env)
        env.pop("DISPLAY", None)  # which would let it start a D-Bus daemon of its own
        self.log = open(os.path.join(self.folder, "server.log"), "a")
        self.process = subprocess.Popen(
            ["pulseaudio", "--daemonize=no", "-n", "--use-pid-file=no", "--exit-idle-time=-1",
             "--log-target=stderr", "--load=module-null-sink sink_name=null",
             f"--load=module-native-protocol-unix socket={self.socket} auth-anonymous=1"],
            env=env, stdout=subprocess.DEVNULL, stderr=self.log)
        desktop.wait_for("the sound server", lambda: self.process.poll() is None and self._answers())

    def stop(self):
        """Ends the server at once, as a crash or a restart by the user would."""
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait()
            self.log.close()

    def _run(self, *command):
        return subprocess.run(command, env=dict(os.environ, **self.client_env), capture_output=True, text=True)

    def _answers(self):
        return self._run("pactl", "info").returncode == 0

    def sink_inputs(self):
        """The streams that play into the server, one line each."""
        return self._run("pactl", "list", "short", "sink-inputs").stdout.splitlines()

    def loudest(self, seconds=0.5):
        """The largest sample that reaches the null sink in the next `seconds` (0 is silence)."""
        reader = subprocess.Popen(["parec", "--device=null.monitor", "--raw", "--format=s16le",
                                   f"--rate={RATE}", f"--channels={CHANNELS}", "--latency-msec=20"],
                                  env=dict(os.environ, **self.client_env), stdout=subprocess.PIPE)
        wanted = int(RATE * CHANNELS * 2 * seconds)
        data = b""
        os.set_blocking(reader.stdout.fileno(), False)
        end = time.monotonic() + seconds + desktop.DEADLINE
        while len(data) < wanted and reader.poll() is None and time.monotonic() < end:
            data += reader.stdout.read(wanted - len(data)) or b""
            time.sleep(0.01)
        reader.kill()
        reader.wait()
        if len(data) < wanted:
            raise Failure(f"parec read {len(data)} of {wanted} bytes")
        return max(abs(sample) for sample in array.array("h", data))

    def playing(self):
        """True when one stream plays into the server and what it plays is heard."""
        return len(self.sink_inputs()) == 1 and self.loudest() > SILENCE


# The quietest sample taken for sound: the song at the launch volume reaches about 1100.
SILENCE = 32
