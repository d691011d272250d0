#!/usr/bin/env python3
"""Writes the package managers' manifests for the files tools/dist.sh has made.

winget: a manifest set (version, installer and default-locale files) for the installer, under
    <out>/winget/manifests/b/Brindell/Lumivex/<version>/, laid out as in the winget-pkgs repository.
Scoop: <out>/scoop/lumivex.json for the portable zips; the settings file and the Themes folder are kept across
    updates, and the version check reads the maker's version file.
Download addresses are <releases>/<file name>; hashes are those of the files in <out>.
"""
import argparse
import hashlib
import json
import os
import re
import sys
import time

PACKAGE_ID = "Brindell.Lumivex"
PUBLISHER = "Brindell"
NAME = "Lumivex"
SHORT_DESCRIPTION = "Shows the memory in use in the notification area and frees memory on request"
DESCRIPTION = ("A small tray utility: a 16 x 16 icon with a gauge and a number shows how much memory is in use, "
               "its hint gives the full figures, and from the tray you can free memory and see and end the "
               "programs that use the most.")
WINGET_MANIFEST_VERSION = "1.12.0"
# Where the installer puts the program unless told otherwise (the 32-bit build on 32-bit Windows goes to the same
# folder name under its own Program Files).
DEFAULT_INSTALL_LOCATION = "%ProgramFiles%\\Lumivex"


def sha256(path):
    digest = hashlib.sha256()
    with open(path, "rb") as f:
        for block in iter(lambda: f.read(1 << 20), b""):
            digest.update(block)
    return digest.hexdigest()


def yaml_scalar(value):
    """A YAML scalar that reads back as the same text: plain when that is safe, else single-quoted."""
    text = str(value)
    if re.fullmatch(r"[A-Za-z0-9_./:+@-][A-Za-z0-9 _./:+@=?&%-]*", text) and ": " not in text \
            and not text.endswith((" ", ":")) and not re.fullmatch(r"[0-9.:-]+|true|false|null|yes|no|on|off|y|n|~", text, re.I):
        return text
    return "'" + text.replace("'", "''") + "'"


def yaml_document(schema, pairs):
    lines = ["# Created by tools/dist.sh", f"# yaml-language-server: $schema={schema}", ""]

    def emit(items, indent):
        pad = " " * indent
        for key, value in items:
            if isinstance(value, list):
                lines.append(f"{pad}{key}:")
                for element in value:
                    if isinstance(element, list):  # a list of mappings
                        first = True
                        for k, v in element:
                            lines.append(f"{pad}{'- ' if first else '  '}{k}: {yaml_scalar(v)}")
                            first = False
                    else:
                        lines.append(f"{pad}- {yaml_scalar(element)}")
            elif isinstance(value, dict):
                lines.append(f"{pad}{key}:")
                emit(value.items(), indent + 2)
            else:
                lines.append(f"{pad}{key}: {yaml_scalar(value)}")

    emit(pairs, 0)
    return "\n".join(lines) + "\n"


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def read_addresses(path):
    addresses = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            name, sep, value = line.rstrip("\n").partition("=")
            if sep:
                addresses[name] = value
    for name in ("RELEASES_URL", "HOME_URL", "SUPPORT_URL", "UPDATE_FILE_URL", "LICENSE_URL", "RELEASE_NOTES_URL"):
        if not addresses.get(name):
            sys.exit(f"package_manifests.py: {path} gives no {name}")
    return addresses


def winget(out, version, release_date, addresses, setup, license_name):
    """The three manifests. winget's defaults for a nullsoft installer (/S for both silent modes, /D= for the
    location) are the installer's own switches, so the manifests do not repeat them."""
    folder = os.path.join(out, "winget", "manifests", PACKAGE_ID[0].lower(), *PACKAGE_ID.split("."), version)
    schema = "https://aka.ms/winget-manifest.{}." + WINGET_MANIFEST_VERSION + ".schema.json"
    url = addresses["RELEASES_URL"].rstrip("/") + "/" + os.path.basename(setup)
    digest = sha256(setup).upper()
    head = [("PackageIdentifier", PACKAGE_ID), ("PackageVersion", version)]
    tail = [("ManifestVersion", WINGET_MANIFEST_VERSION)]
    write(os.path.join(folder, f"{PACKAGE_ID}.yaml"), yaml_document(schema.format("version"), head + [
        ("DefaultLocale", "en-US"), ("ManifestType", "version")] + tail))
    # One installer serves both architectures: it installs the 64-bit build on 64-bit Windows.
    installers = [[("Architecture", arch), ("InstallerUrl", url), ("InstallerSha256", digest)]
                  for arch in ("x86", "x64")]
    write(os.path.join(folder, f"{PACKAGE_ID}.installer.yaml"), yaml_document(schema.format("installer"), head + [
        ("InstallerType", "nullsoft"),
        ("Scope", "machine"),
        ("InstallModes", ["interactive", "silent", "silentWithProgress"]),
        ("ElevationRequirement", "elevatesSelf"),
        ("UpgradeBehavior", "install"),
        ("ProductCode", NAME),
        ("ReleaseDate", release_date),
        # What the installer writes under ...\Uninstall\Lumivex, so winget knows the installed copy as its own.
        ("AppsAndFeaturesEntries", [[("DisplayName", NAME), ("Publisher", PUBLISHER), ("DisplayVersion", version),
                                     ("ProductCode", NAME)]]),
        ("InstallationMetadata", {"DefaultInstallLocation": DEFAULT_INSTALL_LOCATION}),
        ("Installers", installers),
        ("ManifestType", "installer")] + tail))
    write(os.path.join(folder, f"{PACKAGE_ID}.locale.en-US.yaml"), yaml_document(
        schema.format("defaultLocale"), head + [
            ("PackageLocale", "en-US"),
            ("Publisher", PUBLISHER),
            ("PublisherUrl", addresses["HOME_URL"]),
            ("PublisherSupportUrl", addresses["SUPPORT_URL"]),
            ("PackageName", NAME),
            ("PackageUrl", addresses["HOME_URL"]),
            ("License", license_name),
            ("LicenseUrl", addresses["LICENSE_URL"]),
            ("Copyright", f"Copyright (c) {release_date[:4]} {PUBLISHER}"),
            ("ShortDescription", SHORT_DESCRIPTION),
            ("Description", DESCRIPTION),
            ("Moniker", NAME.lower()),
            ("Tags", ["memory", "ram", "tray", "system-monitor"]),
            ("ReleaseNotesUrl", addresses["RELEASE_NOTES_URL"]),
            ("ManifestType", "defaultLocale")] + tail))
    return folder


def scoop(out, version, addresses, zips, license_name):
    releases = addresses["RELEASES_URL"].rstrip("/")
    architecture, autoupdate = {}, {}
    for scoop_arch, zip_path in zips.items():
        name = os.path.basename(zip_path)
        architecture[scoop_arch] = {"url": f"{releases}/{name}", "hash": sha256(zip_path)}
        autoupdate[scoop_arch] = {"url": f"{releases}/{name.replace(version, '$version')}"}
    manifest = {
        "version": version,
        "description": SHORT_DESCRIPTION,
        "homepage": addresses["HOME_URL"],
        "license": license_name,
        "architecture": architecture,
        "extract_dir": NAME,
        "shortcuts": [[f"{NAME}.exe", NAME]],
        # The settings file beside the program makes the copy portable; Scoop keeps it, the themes and the error
        # log. A file to persist must exist before the first install, or Scoop makes a folder of that name.
        "persist": [f"{NAME}.Settings", "Themes", f"{NAME}.log"],
        "pre_install": f'if (!(Test-Path "$persist_dir\\{NAME}.log")) {{ New-Item "$dir\\{NAME}.log" -ItemType File | Out-Null }}',
        "checkver": {
            "url": addresses["UPDATE_FILE_URL"],
            "regex": r"\[CurrentVersions\][^\[]*?Lumivex=([\d.]+)",
        },
        # Each release's zips are summed in SHA256SUMS beside them, one "<hash>  <file name>" line each.
        "autoupdate": {"architecture": autoupdate,
                       "hash": {"url": "$baseurl/SHA256SUMS", "regex": "$sha256\\s+\\*?$basename"}},
    }
    path = os.path.join(out, "scoop", "lumivex.json")
    write(path, json.dumps(manifest, indent=4) + "\n")
    return path


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", required=True)
    parser.add_argument("--version", required=True)
    parser.add_argument("--date", required=True, type=int, help="release time, seconds since 1970")
    parser.add_argument("--addresses", required=True, help="generated/maker_addresses.txt of the build")
    parser.add_argument("--license", default="MIT")
    parser.add_argument("--setup", required=True)
    parser.add_argument("--zip32", required=True)
    parser.add_argument("--zip64")
    args = parser.parse_args()

    addresses = read_addresses(args.addresses)
    release_date = time.strftime("%Y-%m-%d", time.gmtime(args.date))
    zips = {"32bit": args.zip32}
    if args.zip64:
        zips = {"64bit": args.zip64, **zips}
    print(winget(args.out, args.version, release_date, addresses, args.setup, args.license))
    print(scoop(args.out, args.version, addresses, zips, args.license))


if __name__ == "__main__":
    main()
