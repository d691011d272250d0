#!/usr/bin/env python3
"""Reads the winget and Scoop manifests that tools/dist.sh wrote and checks them against the files beside them:
required fields, the real SHA-256 of each file, download addresses under the maker's release folder.

    manifests_test.py <dist folder> <release folder address> <version file address>
"""
import hashlib
import json
import os
import re
import sys

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def scalar(text):
    text = text.strip()
    if text.startswith("'"):
        if not (len(text) >= 2 and text.endswith("'")):
            raise ValueError(f"unterminated quoted text: {text}")
        return text[1:-1].replace("''", "'")
    if text.startswith('"'):
        return json.loads(text)
    return text


def parse_yaml(path):
    """The YAML subset the manifests use: a mapping of scalars, of lists of scalars or of mappings, and of one
    level of nested mapping. Anything else is an error, so a manifest this cannot read fails the test."""
    root, key, item = {}, None, None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.rstrip("\n")
            if not line.strip() or line.lstrip().startswith("#"):
                continue
            where = f"{os.path.basename(path)}:{number}"
            if not line.startswith((" ", "- ")):  # a key of the document
                key, sep, value = line.partition(":")
                if not sep or " " in key:
                    raise ValueError(f"{where}: not a key: {line}")
                root[key] = scalar(value) if value.strip() else None
                item = None
                continue
            if key is None or isinstance(root[key], str):
                raise ValueError(f"{where}: a value without a key: {line}")
            if line.startswith("- "):  # an element of a list
                if root[key] is None:
                    root[key] = []
                if not isinstance(root[key], list):
                    raise ValueError(f"{where}: a list element among keys: {line}")
                body = line[2:]
                name, sep, value = body.partition(": ")
                if sep and not body.startswith(("'", '"')):
                    item = {name: scalar(value)}
                    root[key].append(item)
                else:
                    item = None
                    root[key].append(scalar(body))
            elif line.startswith("  ") and not line.startswith("   "):  # a key of a nested mapping or list element
                name, sep, value = line[2:].partition(": ")
                if not sep:
                    raise ValueError(f"{where}: not a key: {line}")
                if isinstance(root[key], list):
                    if item is None:
                        raise ValueError(f"{where}: unexpected line: {line}")
                    item[name] = scalar(value)
                else:
                    if root[key] is None:
                        root[key] = {}
                    root[key][name] = scalar(value)
            else:
                raise ValueError(f"{where}: unexpected indentation: {line}")
    return root


def check_winget(dist, version, releases):
    folder = os.path.join(dist, "winget", "manifests", "b", "Brindell", "Lumivex", version)
    names = {"version": "Brindell.Lumivex.yaml", "installer": "Brindell.Lumivex.installer.yaml",
             "defaultLocale": "Brindell.Lumivex.locale.en-US.yaml"}
    manifests = {}
    for kind, name in names.items():
        path = os.path.join(folder, name)
        if check(os.path.isfile(path), f"winget: missing {path}"):
            manifests[kind] = parse_yaml(path)
    for kind, m in manifests.items():
        check(m.get("PackageIdentifier") == "Brindell.Lumivex", f"winget {kind}: PackageIdentifier")
        check(m.get("PackageVersion") == version, f"winget {kind}: PackageVersion {m.get('PackageVersion')}")
        check(m.get("ManifestType") == kind, f"winget {kind}: ManifestType {m.get('ManifestType')}")
        check(m.get("ManifestVersion") == "1.12.0", f"winget {kind}: ManifestVersion {m.get('ManifestVersion')}")
    if "version" in manifests:
        check(manifests["version"].get("DefaultLocale") == "en-US", "winget version: DefaultLocale")
    if "defaultLocale" in manifests:
        m = manifests["defaultLocale"]
        for field in ("PackageLocale", "Publisher", "PackageName", "License", "ShortDescription", "LicenseUrl",
                      "Copyright", "ReleaseNotesUrl"):
            check(m.get(field), f"winget defaultLocale: no {field}")
        check(re.fullmatch(r"Copyright \(c\) \d{4} Brindell", m.get("Copyright", "")),
              f"winget defaultLocale: Copyright {m.get('Copyright')}")
    if "installer" in manifests:
        m = manifests["installer"]
        setup = os.path.join(dist, f"Lumivex-{version}-setup.exe")
        check(m.get("InstallerType") == "nullsoft", "winget installer: InstallerType")
        # The installer's switches are winget's defaults for nullsoft: repeating them is noise a reviewer asks
        # to remove.
        check("InstallerSwitches" not in m, f"winget installer: repeats default switches {m.get('InstallerSwitches')}")
        entries = m.get("AppsAndFeaturesEntries") or [{}]
        check(entries[0] == {"DisplayName": "Lumivex", "Publisher": "Brindell", "DisplayVersion": version,
                             "ProductCode": "Lumivex"}, f"winget installer: AppsAndFeaturesEntries {entries}")
        check((m.get("InstallationMetadata") or {}).get("DefaultInstallLocation") == "%ProgramFiles%\\Lumivex",
              f"winget installer: InstallationMetadata {m.get('InstallationMetadata')}")
        installers = m.get("Installers", [])
        check(sorted(i.get("Architecture") for i in installers) == ["x64", "x86"],
              f"winget installer: architectures {installers}")
        for i in installers:
            check(i.get("InstallerUrl") == f"{releases}/Lumivex-{version}-setup.exe",
                  f"winget installer: InstallerUrl {i.get('InstallerUrl')}")
            check(i.get("InstallerSha256", "").lower() == sha256(setup), "winget installer: InstallerSha256")


def check_scoop(dist, version, releases, version_file):
    path = os.path.join(dist, "scoop", "lumivex.json")
    if not check(os.path.isfile(path), f"scoop: missing {path}"):
        return
    with open(path, encoding="utf-8") as f:
        m = json.load(f)
    check(m.get("version") == version, "scoop: version")
    for field in ("description", "homepage", "license"):
        check(m.get(field), f"scoop: no {field}")
    arches = m.get("architecture", {})
    expected = {"32bit": "win32"}
    if os.path.isfile(os.path.join(dist, f"Lumivex-{version}-win64-portable.zip")):
        expected["64bit"] = "win64"
    check(set(arches) == set(expected), f"scoop: architectures {sorted(arches)}")
    for arch, name in expected.items():
        entry = arches.get(arch, {})
        zip_name = f"Lumivex-{version}-{name}-portable.zip"
        check(entry.get("url") == f"{releases}/{zip_name}", f"scoop {arch}: url {entry.get('url')}")
        check(entry.get("hash") == sha256(os.path.join(dist, zip_name)), f"scoop {arch}: hash")
        auto = m.get("autoupdate", {}).get("architecture", {}).get(arch, {}).get("url", "")
        check(auto.replace("$version", version) == entry.get("url"), f"scoop {arch}: autoupdate url {auto}")
    check(m.get("extract_dir") == "Lumivex", "scoop: extract_dir")
    check(set(m.get("persist", [])) == {"Lumivex.Settings", "Themes", "Lumivex.log"},
          f"scoop: persist {m.get('persist')}")
    check("Lumivex.log" in m.get("pre_install", ""), "scoop: pre_install does not make the log to persist")
    hash_source = m.get("autoupdate", {}).get("hash", {})
    check(hash_source.get("url") == "$baseurl/SHA256SUMS", f"scoop: autoupdate hash {hash_source}")
    # The regex, with Scoop's placeholders filled in, finds each zip's sum in the SHA256SUMS beside it.
    sums_path = os.path.join(dist, "SHA256SUMS")
    if check(os.path.isfile(sums_path), "scoop: no SHA256SUMS beside the zips"):
        with open(sums_path, encoding="utf-8") as f:
            sums = f.read()
        for arch, name in expected.items():
            zip_name = f"Lumivex-{version}-{name}-portable.zip"
            regex = hash_source.get("regex", "^$").replace("$sha256", "([a-fA-F0-9]{64})").replace(
                "$basename", re.escape(zip_name))
            found = re.search(regex, sums)
            check(found and found.group(1) == sha256(os.path.join(dist, zip_name)),
                  f"scoop {arch}: autoupdate hash regex does not find the zip's sum")
    checkver = m.get("checkver", {})
    check(checkver.get("url") == version_file, f"scoop: checkver url {checkver.get('url')}")
    # The regex must find the current version, not the beta one listed after it.
    sample = "[CurrentVersions]\r\nLumivex=2.7.0.0\r\n[BetaVersions]\r\nLumivex=2.8.0.1\r\n"
    match = re.search(checkver.get("regex", "^$"), sample)
    check(match and match.group(1) == "2.7.0.0", "scoop: checkver regex does not read the current version")


def main():
    dist, releases, version_file = sys.argv[1], sys.argv[2].rstrip("/"), sys.argv[3]
    setups = [n for n in os.listdir(dist) if re.fullmatch(r"Lumivex-[\d.]+-setup\.exe", n)]
    if len(setups) != 1:
        sys.exit(f"expected one installer in {dist}, found {setups}")
    version = setups[0][len("Lumivex-"):-len("-setup.exe")]
    try:
        check_winget(dist, version, releases)
        check_scoop(dist, version, releases, version_file)
    except (ValueError, json.JSONDecodeError) as error:
        failures.append(f"unreadable manifest: {error}")
    for failure in failures:
        print("FAILED:", failure, file=sys.stderr)
    if not failures:
        print(f"winget and Scoop manifests of {version} agree with the files in {dist}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
