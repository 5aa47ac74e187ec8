"""A headless LibreOffice of a test's own: a private profile in a temporary
folder, the extension installed into it with unopkg, and a UNO connection."""
import os
import shutil
import subprocess
import tempfile
import time

import uno
import unohelper
from com.sun.star.task import XInteractionHandler
from com.sun.star.ucb import XCommandEnvironment, XProgressHandler


class _Quiet(unohelper.Base, XCommandEnvironment, XInteractionHandler, XProgressHandler):
    """What unopkg gives the extension manager: no questions, no progress shown."""

    def getInteractionHandler(self):
        return self

    def getProgressHandler(self):
        return self

    def handle(self, request):
        # Approve what is asked (there is no licence to accept).
        for continuation in request.getContinuations():
            if continuation.queryInterface(uno.getTypeByName("com.sun.star.task.XInteractionApprove")):
                continuation.select()
                return

    def push(self, status):
        pass

    def update(self, status):
        pass

    def pop(self):
        pass


class LibreOffice:
    def __init__(self, oxt):
        self.root = tempfile.mkdtemp(prefix="tovuri-libreoffice-")
        # Tovuri's own per-user files go to the temporary home too.
        self.env = dict(os.environ, HOME=self.root, XDG_DATA_HOME=os.path.join(self.root, "data"),
                        XDG_CONFIG_HOME=os.path.join(self.root, "config"))
        profile = "-env:UserInstallation=" + uno.systemPathToFileUrl(os.path.join(self.root, "profile"))
        # unopkg will not install into a user's profile as root (CI runs as
        # root): there the running LibreOffice installs it, as unopkg would.
        as_root = os.geteuid() == 0
        if not as_root:
            subprocess.run(["unopkg", "add", "-f", oxt, profile], check=True, env=self.env,
                           stdout=subprocess.DEVNULL, stderr=subprocess.STDOUT)
        pipe = "tovuri_test_%d" % os.getpid()
        self.process = subprocess.Popen(
            ["soffice", "--headless", "--invisible", "--norestore", "--nologo", "--nodefault", profile,
             "--accept=pipe,name=%s;urp;StarOffice.ComponentContext" % pipe],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        deadline = time.monotonic() + 120
        while True:
            try:
                self.context = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
                break
            except Exception:
                if time.monotonic() > deadline or self.process.poll() is not None:
                    self.close()
                    raise RuntimeError("LibreOffice did not start")
                time.sleep(0.2)
        self.manager = self.context.ServiceManager
        if as_root:
            extensions = self.context.getValueByName("/singletons/com.sun.star.deployment.ExtensionManager")
            extensions.addExtension(uno.systemPathToFileUrl(os.path.abspath(oxt)), (), "user", None, _Quiet())

    def create(self, service):
        return self.manager.createInstanceWithContext(service, self.context)

    def _descendants(self):
        """The processes soffice started, however deep, still running."""
        children = {}
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    with open("/proc/%s/stat" % entry) as stat:
                        parent = int(stat.read().rsplit(")", 1)[1].split()[1])
                    children.setdefault(parent, []).append(int(entry))
                except (OSError, ValueError, IndexError):
                    pass
        found, pending = [], list(children.get(self.process.pid, []))
        while pending:
            pid = pending.pop()
            found.append(pid)
            pending.extend(children.get(pid, []))
        return found

    def resident_kib(self):
        """The resident memory of soffice and the processes it started."""
        total = 0
        for pid in [self.process.pid] + self._descendants():
            try:
                with open("/proc/%d/status" % pid) as status:
                    total += next(int(line.split()[1]) for line in status if line.startswith("VmRSS:"))
            except (OSError, StopIteration):
                pass
        return total

    def close(self):
        # Found before the launcher ends, when they would lose their parent.
        started = self._descendants()
        try:
            self.create("com.sun.star.frame.Desktop").terminate()
        except Exception:
            pass
        try:
            self.process.wait(timeout=30)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        # soffice.bin may outlive its launcher: nothing is left running.
        for pid in started:
            try:
                with open("/proc/%d/cmdline" % pid, "rb") as command:
                    if b"soffice" in command.read():
                        os.kill(pid, 9)
            except OSError:
                pass
        shutil.rmtree(self.root, ignore_errors=True)
