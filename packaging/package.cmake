# The Debian package: `make package` builds vesk_VERSION_ARCH.deb from the install rules. The
# version is the project's; the dependencies are those dpkg-shlibdeps finds in the binaries.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vesk)
set(CPACK_PACKAGE_CONTACT "vesk maintainers <maintainers@vesk.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "compare the central and the state sample of a survey round")
# Lines of at most 72 characters, as apt and dpkg show them.
set(CPACK_PACKAGE_DESCRIPTION
    "vesk checks whether the two samples of a survey round, the central
sample and the state sample, agree. For every group of records (by
state, sector or any other group variables) it tests whether the two
samples share the distribution of a parameter variable, by the
Wald-Wolfowitz runs test and by a chi-square test of homogeneity over
classes of the parameter's values.

The record layout of a fixed-width survey data file is described in a
grid, and the file is loaded, optionally filtered, into an SQLite
database. Each test writes one CSV result file; beside it come exact or
Monte Carlo p-values that say where they come from, Holm and
Benjamini-Hochberg adjustment across groups, flags where ties or small
expected counts make a verdict delicate, and a report in HTML or PDF.

The package holds the desktop program vesk and vesk-batch, which runs
the same tests from scripts without a window.

SPDX-License-Identifier: Apache-2.0")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
include(CPack)
