#!/usr/bin/env python3
"""Writes the release's bill of materials: an SPDX 2.3 document (JSON) naming Corvalend.exe and
everything linked into it statically, each with its version as built here and its licence.

usage (from the repository's top): release-sbom.py VERSION EXE JPEG_VERSION WEB_SITE OUTPUT   (SOURCE_DATE_EPOCH in the environment)
  JPEG_VERSION: the Debian source version of the libjpeg-turbo that was built and linked.
The other versions are those of the installed Debian packages the linker took them from.
"""
import hashlib
import json
import os
import subprocess
import sys
import time


def debian_package(name):
    """The installed package's version, and its source package's name and version."""
    fields = subprocess.run(["dpkg-query", "-W", "-f=${Version}\t${source:Package}\t${source:Version}", name],
                            check=True, capture_output=True, text=True).stdout.split("\t")
    return fields[0], "Debian package %s %s (source package %s %s)" % (name, fields[0], fields[1], fields[2])


def component(ident, name, version, licence, source_info, comment=None):
    package = {
        "SPDXID": "SPDXRef-" + ident,
        "name": name,
        "versionInfo": version,
        "downloadLocation": "NOASSERTION",
        "filesAnalyzed": False,
        "licenseConcluded": licence,
        "licenseDeclared": licence,
        "copyrightText": "NOASSERTION",
        "sourceInfo": source_info,
    }
    if comment:
        package["licenseComments"] = comment
    return package


def main(version, exe, jpeg_version, web_site, output):
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    copyright_line = next(line.strip() for line in open("LICENSE", encoding="utf-8") if line.startswith("Copyright"))
    exe_sha256 = hashlib.sha256(open(exe, "rb").read()).hexdigest()
    runtime_version, runtime_source = debian_package("mingw-w64-x86-64-dev")
    cxx_version, cxx_source = debian_package("g++-mingw-w64-x86-64-posix")
    gcc_version, gcc_source = debian_package("gcc-mingw-w64-x86-64-posix")
    gcc_exception = "GPL-3.0-or-later WITH GCC-exception-3.1"
    program = component("Corvalend", "Corvalend", version, "MIT", "Built from the Corvalend source of this release")
    program.update({
        "downloadLocation": web_site,
        "supplier": "Organization: Tamberlo",
        "packageFileName": "Corvalend.exe",
        "checksums": [{"algorithm": "SHA256", "checksumValue": exe_sha256}],
        "primaryPackagePurpose": "APPLICATION",
        "copyrightText": copyright_line,
    })
    linked = [
        component("libjpeg-turbo", "libjpeg-turbo", jpeg_version, "IJG AND BSD-3-Clause AND Zlib",
                  "Debian source package libjpeg-turbo %s, built as a static MinGW-w64 library" % jpeg_version),
        component("mingw-w64-runtime", "MinGW-w64 runtime", runtime_version, "ZPL-2.1", runtime_source,
                  "Parts are in the public domain; see notices/mingw-w64/copyright.txt"),
        component("winpthreads", "winpthreads", runtime_version, "MIT AND BSD-3-Clause", runtime_source,
                  "Part of MinGW-w64; see notices/mingw-w64/copyright.txt"),
        component("libstdcxx", "libstdc++", cxx_version, gcc_exception, cxx_source),
        component("libgcc", "libgcc", gcc_version, gcc_exception, gcc_source),
    ]
    document = {
        "spdxVersion": "SPDX-2.3",
        "dataLicense": "CC0-1.0",
        "SPDXID": "SPDXRef-DOCUMENT",
        "name": "Corvalend-%s" % version,
        # Unique for these bytes, and the same each time they are built.
        "documentNamespace": "%sspdx/Corvalend-%s-%s" % (web_site, version, exe_sha256),
        "creationInfo": {
            "created": time.strftime("%Y-%m-%dT%H:%M:%SZ", time.gmtime(epoch)),
            "creators": ["Organization: Tamberlo", "Tool: release-sbom.py"],
        },
        "packages": [program] + linked,
        "relationships": [{"spdxElementId": "SPDXRef-DOCUMENT", "relationshipType": "DESCRIBES",
                           "relatedSpdxElement": "SPDXRef-Corvalend"}] +
                         [{"spdxElementId": "SPDXRef-Corvalend", "relationshipType": "STATIC_LINK",
                           "relatedSpdxElement": package["SPDXID"]} for package in linked],
    }
    with open(output, "w", encoding="utf-8", newline="\n") as out:
        json.dump(document, out, indent=2, ensure_ascii=False)
        out.write("\n")


if __name__ == "__main__":
    main(*sys.argv[1:])
