# The Debian package of RAVIRIreru, made with `cpack -G DEB` in the build folder (scripts/paket
# makes it with an apt repository). It installs into /usr as Debian's policy wants it, whatever
# prefix the build itself was configured with: the program carries no path of its own, so the
# same build runs from the build tree, from a prefix and from the package.

set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "ravirireru")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "RAVIRIreru-Team")
set(CPACK_PACKAGE_CONTACT "RAVIRIreru-Team <paket@ravirireru.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Noteneingabe für Lehrkräfte der gymnasialen Oberstufe")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE "${RAVIRIRERU_PAKET_REVISION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
# The summary above is the package's synopsis; this is the long description below it
# (lines of at most 80 characters).
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
"RAVIRIreru öffnet die Kurslisten-Datei (.zln), die die Schulverwaltung für
eine Lehrkraft bereitstellt. Nach der Anmeldung mit dem Sicherheitspasswort
trägt die Lehrkraft je Kurs Noten, Fehlstunden und Hinweise in eine Tabelle
ein; jeder Wert wird beim Verlassen des Feldes geprüft. Die Ergebnisse eines
Kurses werden als Ergebnisdatei (.zle) gespeichert oder per E-Mail an die
Schule gesendet. Kurslisten lassen sich drucken und über die Zwischenablage
mit einer Tabellenkalkulation austauschen. Deutsche Hilfeseiten liegen bei.")

# The shared libraries the program needs are found by dpkg-shlibdeps (package dpkg-dev).
# Without it, the packages of Debian 12 that hold those libraries are named here instead.
# libcurl is loaded only when the first mail is sent, so dpkg-shlibdeps cannot see it; the mail
# client needs 7.85 or newer (CURLOPT_PROTOCOLS_STR). Qt's own dialogs and buttons speak German
# only with qt6-translations-l10n; the windows need Qt's platform plug-ins (X11, Wayland).
find_program(RAVIRIRERU_DPKG_SHLIBDEPS dpkg-shlibdeps)
mark_as_advanced(RAVIRIRERU_DPKG_SHLIBDEPS)
set(_ravirireru_zusatz
    "libcurl4 (>= 7.85), qt6-translations-l10n, qt6-qpa-plugins, fonts-liberation2")
if(RAVIRIRERU_DPKG_SHLIBDEPS)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "${_ravirireru_zusatz}")
else()
  message(STATUS "dpkg-shlibdeps not found: the Debian package lists its dependencies by name")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS OFF)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS
      "libqt6core6 (>= 6.4), libqt6gui6 (>= 6.4), libqt6widgets6 (>= 6.4), libqt6printsupport6 (>= 6.4), libqt6network6 (>= 6.4), libqt6svg6 (>= 6.4), libc6, libstdc++6, ${_ravirireru_zusatz}")
endif()
# Opening the mail program and web addresses, the icon theme our icons belong to.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, hicolor-icon-theme")

include(CPack)
