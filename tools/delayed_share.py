#!/usr/bin/python3
"""Mounts a folder read-only through FUSE, adding a fixed delay to every request.

usage: tools/delayed_share.py [--delay-ms MS] SOURCE MOUNTPOINT

A stand-in for a network share (SMB or NFS), where every request costs a round
trip: each request the kernel makes (look up, attributes, open, read, close,
folder listing) waits MS milliseconds (default 1) before it is answered. Files
are opened with direct_io, so the page cache cannot answer a read a second
time without the delay. Runs in the foreground until the folder is unmounted
(fusermount -u MOUNTPOINT) or it is interrupted. Needs Debian's python3-fusepy
and fuse3 (scripts/bootstrap.sh bench); runs under /usr/bin/python3, whose
modules those are.
"""

import argparse
import errno
import os
import stat
import sys
import time

import fusepy


class DelayedPassThrough(fusepy.Operations):
    """The source folder's files, read-only, each answer given after the delay."""

    def __init__(self, source, delay):
        self.source = source
        self.delay = delay

    def __call__(self, operation, *args):
        time.sleep(self.delay)
        return super().__call__(operation, *args)

    def real(self, path):
        return os.path.join(self.source, path.lstrip("/"))

    def getattr(self, path, fh=None):
        info = os.lstat(self.real(path))
        return {key: getattr(info, key) for key in (
            "st_mode", "st_nlink", "st_uid", "st_gid", "st_size",
            "st_atime", "st_mtime", "st_ctime")}

    def readdir(self, path, fh):
        # With each entry's type, as SMB and NFS list folders, so that a
        # walk need not ask for every file's attributes.
        entries = [(".", None, 0), ("..", None, 0)]
        with os.scandir(self.real(path)) as listing:
            for entry in listing:
                mode = entry.stat(follow_symlinks=False).st_mode
                entries.append((entry.name, {"st_mode": stat.S_IFMT(mode)}, 0))
        return entries

    def readlink(self, path):
        return os.readlink(self.real(path))

    def access(self, path, amode):
        if not os.access(self.real(path), amode):
            raise fusepy.FuseOSError(errno.EACCES)

    def open(self, path, fi):
        if fi.flags & (os.O_WRONLY | os.O_RDWR):
            raise fusepy.FuseOSError(errno.EROFS)
        fi.fh = os.open(self.real(path), os.O_RDONLY)
        fi.direct_io = 1  # every read reaches this process, and waits
        return 0

    def read(self, path, size, offset, fi):
        return os.pread(fi.fh, size, offset)

    def release(self, path, fi):
        os.close(fi.fh)
        return 0

    def statfs(self, path):
        info = os.statvfs(self.real(path))
        return {key: getattr(info, key) for key in (
            "f_bsize", "f_frsize", "f_blocks", "f_bfree", "f_bavail",
            "f_files", "f_ffree", "f_favail", "f_namemax")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--delay-ms", type=float, default=1.0)
    parser.add_argument("source")
    parser.add_argument("mountpoint")
    args = parser.parse_args()
    operations = DelayedPassThrough(os.path.abspath(args.source), args.delay_ms / 1000)
    fusepy.FUSE(operations, args.mountpoint, foreground=True, ro=True, raw_fi=True,
                fsname="delayed-share")
    return 0


if __name__ == "__main__":
    sys.exit(main())
