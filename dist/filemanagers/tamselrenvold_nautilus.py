# SPDX-License-Identifier: GPL-3.0-or-later
# Nautilus: "用 TamselRenvold 批量重命名" on selected files and folders (needs python3-nautilus).
import os
import subprocess
import threading

from gi.repository import GObject, Nautilus


class TamselRenvoldMenu(GObject.GObject, Nautilus.MenuProvider):
    def get_file_items(self, *args):
        # Nautilus 43 and later pass the files alone; earlier versions the window first.
        paths = [f.get_location().get_path() for f in args[-1]]
        paths = [p for p in paths if p]  # local files only
        if not paths:
            return []
        item = Nautilus.MenuItem(name="TamselRenvold::BatchRename", label="用 TamselRenvold 批量重命名",
                                 icon="example.tamsel.TamselRenvold")
        item.connect("activate", self.run, paths)
        return [item]

    def get_background_items(self, *args):
        return []

    @staticmethod
    def run(_item, paths):
        # As bytes: a name that is not UTF-8 reaches the program as it is on disk.
        process = subprocess.Popen([b"tamselrenvold", b"--"] + [os.fsencode(p) for p in paths],
                                   start_new_session=True)
        threading.Thread(target=process.wait, daemon=True).start()  # no zombie left in Nautilus
