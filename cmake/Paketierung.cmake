# The Debian package of RAVIRIreru, made with `cpack -G DEB` in the build folder.
# It holds exactly what `cmake --install` puts under the install prefix; the package installs
# it under the same prefix, because the program finds its help pages there (configure with
# -DCMAKE_INSTALL_PREFIX=/usr for a package that follows the Debian layout).

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "ravirireru")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "RAVIRIreru-Team")
set(CPACK_PACKAGE_CONTACT "RAVIRIreru-Team")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Noteneingabe für Lehrkräfte der gymnasialen Oberstufe")
set(CPACK_PACKAGING_INSTALL_PREFIX "${CMAKE_INSTALL_PREFIX}")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "RAVIRIreru-Team")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The summary above is the package's synopsis; this is the long description below it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"RAVIRIreru öffnet die Kurslisten-Datei (.zln), die die Schulverwaltung für eine
Lehrkraft bereitstellt. Nach der Anmeldung mit dem Sicherheitspasswort trägt die
Lehrkraft je Kurs Noten, Fehlstunden und Hinweise in eine Tabelle ein; jeder Wert
wird beim Verlassen des Feldes geprüft. Die Ergebnisse eines Kurses werden als
Ergebnisdatei (.zle) gespeichert oder per E-Mail an die Schule gesendet.
Kurslisten lassen sich drucken und über die Zwischenablage mit einer
Tabellenkalkulation austauschen. Deutsche Hilfeseiten liegen bei.")

# The shared libraries the program needs are found by dpkg-shlibdeps (package dpkg-dev).
# Without it, the packages of Debian 12 that hold those libraries are named here instead.
# libcurl is loaded only when the first mail is sent, so dpkg-shlibdeps cannot see it; the mail
# client needs 7.85 or newer (CURLOPT_PROTOCOLS_STR).
find_program(RAVIRIRERU_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(RAVIRIRERU_DPKG_SHLIBDEPS)
set(_ravirireru_zusatz "libcurl4 (>= 7.85), fonts-liberation2")
if(RAVIRIRERU_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_ravirireru_zusatz}")
else()
  message(STATUS "dpkg-shlibdeps not found: the Debian package lists its dependencies by name")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6svg6 (>= 6.4), libc6, libstdc++6, ${_ravirireru_zusatz}")
endif()
# Standard dialogs in German, opening help pages and the mail program, the icon theme.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xdg-utils, hicolor-icon-theme")

include(CPack)
