# The Debian package of the two programs: `cpack -G DEB` in the build folder
# makes traveno_<version>_<arch>.deb, which installs traveno and traveno-cli in
# /usr/bin, the desktop's menu entry, the icon and the help, and declares the
# Debian packages they need at run time. `apt install ./traveno_*.deb` on a
# clean machine brings those in.

set(CPACK_PACKAGE_NAME "traveno")
set(CPACK_PACKAGE_VENDOR "Velmoranti Soft")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Salarizare: statul de plata, fluturasi si declaratii pentru angajatori din Romania")
set(CPACK_PACKAGE_DESCRIPTION
    "TRAVENO calculeaza salariile lunare ale mai multor firme, de la brut la net, cu\n\
contributiile, impozitul pe transe si deducerile personale, tipareste statele de\n\
plata si fluturasii si intocmeste declaratiile. Contine programul cu ferestre\n\
(traveno) si geamanul sau de linie de comanda (traveno-cli).")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Velmoranti Soft <traveno@localhost>")
set(CPACK_DEBIAN_PACKAGE_SECTION "misc")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The libraries the programs link and what Qt loads by itself: the platform
# plugins of the desktop and Qt's own translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), \
libqt6printsupport6 (>= 6.4), libqt6charts6 (>= 6.4), qt6-qpa-plugins (>= 6.4), qt6-translations-l10n, \
libsqlite3-0, libsodium23, libxlsxwriter4, libarchive13")
# The help opens in the desktop's browser through xdg-open; without a browser the
# program shows it in a help window of its own.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
find_program(TRAVENO_DPKG_SHLIBDEPS dpkg-shlibdeps)
if(TRAVENO_DPKG_SHLIBDEPS)
  # Adds the exact versions of the linked libraries (libc, libstdc++ too).
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()

include(CPack)
