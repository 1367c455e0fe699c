#!/usr/bin/env bash
# Installs a build of RAVIRIreru into a temporary prefix and builds its Debian package, then
# checks that everything lies where a desktop looks for it:
#   <bindir>/ravirireru (and the file tool ravirireru-datei when it is built),
#   <datadir>/applications/ravirireru.desktop (valid; Exec, Icon and MIME types resolve),
#   <datadir>/mime/packages/ravirireru.xml (valid; both types with their names and globs),
#   <datadir>/icons/hicolor/scalable/apps/ravirireru.svg and one icon per MIME type,
#   <datadir>/ravirireru/hilfe/ with both help pages, every local link resolving,
#   <datadir>/ravirireru/demo.zln when the demo course list is built,
#   PNG icons in the usual sizes, the AppStream metadata (appstreamcli validate), both manual
#   pages, the copyright and the Debian changelog;
# that the package lists the same files under /usr, that lintian finds no error and no warning
# in it, and that no installed file carries a path of the build machine.
set -euo pipefail

cmake=cmake cpack=cpack build= quelle= prefix= bindir=bin datadir=share programm=ravirireru
werkzeug= demo=0 wie_ausgeliefert=0
while [ $# -gt 0 ]; do
  case "$1" in
    --cmake) cmake=$2; shift 2 ;;
    --cpack) cpack=$2; shift 2 ;;
    --build) build=$2; shift 2 ;;
    --quelle) quelle=$2; shift 2 ;;
    --prefix) prefix=$2; shift 2 ;;
    --bindir) bindir=$2; shift 2 ;;
    --datadir) datadir=$2; shift 2 ;;
    --programm) programm=$2; shift 2 ;;
    --werkzeug) werkzeug=$2; shift 2 ;;
    --demo) demo=1; shift ;;
    --wie-ausgeliefert) wie_ausgeliefert=1; shift ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
done
[ -n "$build" ] && [ -n "$prefix" ] || { echo "usage: $0 --build DIR --prefix PREFIX ..." >&2; exit 2; }

tmp=$(mktemp -d "${TMPDIR:-/tmp}/ravirireru-installation.XXXXXX")
trap 'rm -rf "$tmp"' EXIT
unset DESTDIR

fehler=0
fehlt() { echo "FAIL: $*"; fehler=$((fehler + 1)); }
ok() { echo "ok:   $*"; }

# --- what must be installed, relative to the prefix -------------------------------------------
hilfe="$datadir/ravirireru/hilfe"
erwartet=(
  "$bindir/$programm"
  "$datadir/applications/ravirireru.desktop"
  "$datadir/mime/packages/ravirireru.xml"
  "$datadir/icons/hicolor/scalable/apps/ravirireru.svg"
  "$datadir/icons/hicolor/scalable/mimetypes/application-x-zelta-notendatei.svg"
  "$datadir/icons/hicolor/scalable/mimetypes/application-x-ravirireru-ergebnis.svg"
  "$hilfe/index.html"
  "$hilfe/noteneingabelehrer.html"
  "$datadir/metainfo/de.fernholm.ravirireru.metainfo.xml"
  "$datadir/man/man1/ravirireru.1.gz"
  "$datadir/doc/ravirireru/copyright"
  "$datadir/doc/ravirireru/changelog.Debian.gz"
)
for g in 16 22 24 32 48 64 128 256; do
  erwartet+=("$datadir/icons/hicolor/${g}x${g}/apps/ravirireru.png"
             "$datadir/icons/hicolor/${g}x${g}/mimetypes/application-x-zelta-notendatei.png"
             "$datadir/icons/hicolor/${g}x${g}/mimetypes/application-x-ravirireru-ergebnis.png")
done
[ -n "$werkzeug" ] && erwartet+=("$bindir/$werkzeug" "$datadir/man/man1/ravirireru-datei.1.gz")
[ "$demo" = 1 ] && erwartet+=("$datadir/ravirireru/demo.zln")

# --- cmake --install into a temporary prefix ---------------------------------------------------
wurzel="$tmp/wurzel"
if ! "$cmake" --install "$build" --prefix "$wurzel" > "$tmp/install.log" 2>&1; then
  cat "$tmp/install.log"
  echo "FAIL: cmake --install $build --prefix $wurzel"
  exit 1
fi

for f in "${erwartet[@]}"; do
  if [ -s "$wurzel/$f" ]; then ok "installed $f"; else fehlt "not installed (or empty): $f"; fi
done
for f in "$bindir/$programm" ${werkzeug:+"$bindir/$werkzeug"}; do
  [ -x "$wurzel/$f" ] || fehlt "not executable: $f"
done

# --- the desktop entry -------------------------------------------------------------------------
desktop="$wurzel/$datadir/applications/ravirireru.desktop"
if [ -f "$desktop" ]; then
  if command -v desktop-file-validate > /dev/null; then
    if desktop-file-validate "$desktop" > "$tmp/desktop.log" 2>&1 && ! grep -q ' error: ' "$tmp/desktop.log"; then
      ok "desktop-file-validate"
    else
      cat "$tmp/desktop.log"; fehlt "desktop-file-validate refuses the desktop entry"
    fi
  else
    echo "note: desktop-file-validate (desktop-file-utils) is not installed; basic checks only"
  fi
  wert() { sed -n "s/^$1=//p" "$desktop" | head -n 1; }
  [ "$(wert Type)" = Application ] || fehlt "desktop entry: Type is not Application"
  exec_prog=$(wert Exec | awk '{print $1}')
  [ "$exec_prog" = "$programm" ] || fehlt "desktop entry: Exec starts '$exec_prog', not '$programm'"
  grep -q '%[fFuU]' <<< "$(wert Exec)" || fehlt "desktop entry: Exec takes no document (%f)"
  icon=$(wert Icon)
  [ -f "$wurzel/$datadir/icons/hicolor/scalable/apps/$icon.svg" ] \
    || fehlt "desktop entry: Icon=$icon has no icon in hicolor/scalable/apps"
  desktop_typen=$(wert MimeType | tr ';' '\n' | sed '/^$/d' | sort)
  [ "$desktop_typen" = "$(printf 'application/x-ravirireru-ergebnis\napplication/x-zelta-notendatei')" ] \
    || fehlt "desktop entry: MimeType lists '$(echo $desktop_typen)'"
  kategorien=$(wert Categories | tr ';' '\n')
  for k in Education Office; do
    grep -qx "$k" <<< "$kategorien" || fehlt "desktop entry: category $k missing"
  done
  [ -n "$(wert Name)" ] && [ -n "$(wert Comment)" ] || fehlt "desktop entry: Name or Comment missing"
  # The association a desktop makes from share/applications: both document types open with us.
  if command -v update-desktop-database > /dev/null; then
    mkdir -p "$tmp/applications"
    cp "$desktop" "$tmp/applications/"
    update-desktop-database "$tmp/applications" > /dev/null 2>&1 || fehlt "update-desktop-database failed"
    for typ in application/x-zelta-notendatei application/x-ravirireru-ergebnis; do
      grep -qx "$typ=ravirireru.desktop;" "$tmp/applications/mimeinfo.cache" \
        && ok "desktop database: $typ opens with ravirireru.desktop" \
        || fehlt "desktop database does not open $typ with ravirireru.desktop"
    done
  fi
fi

# --- the MIME types ----------------------------------------------------------------------------
mimexml="$wurzel/$datadir/mime/packages/ravirireru.xml"
if [ -f "$mimexml" ]; then
  if command -v xmllint > /dev/null; then
    xmllint --noout "$mimexml" && ok "xmllint MIME types" || fehlt "MIME XML is not well-formed"
    xp() { xmllint --xpath "$1" "$mimexml" 2> /dev/null || true; }
    for paar in "application/x-zelta-notendatei|ZELTA-NotenDatei|*.zln" \
                "application/x-ravirireru-ergebnis|RAVIRIreru-Ergebnis|*.zle"; do
      IFS='|' read -r typ name glob <<< "$paar"
      knoten="//*[local-name()='mime-type'][@type='$typ']"
      [ "$(xp "string($knoten/*[local-name()='comment'][not(@xml:lang)])")" = "$name" ] \
        || fehlt "MIME type $typ: comment is not '$name'"
      [ "$(xp "string($knoten/*[local-name()='comment'][@xml:lang='de'])")" = "$name" ] \
        || fehlt "MIME type $typ: German comment is not '$name'"
      [ "$(xp "string($knoten/*[local-name()='glob']/@pattern)")" = "$glob" ] \
        || fehlt "MIME type $typ: glob is not '$glob'"
    done
  else
    echo "note: xmllint (libxml2-utils) is not installed; the MIME XML is checked by update-mime-database only"
  fi
  # Build a MIME database from our file alone, as a desktop does from share/mime/packages.
  if command -v update-mime-database > /dev/null; then
    mkdir -p "$tmp/mime/packages"
    cp "$mimexml" "$tmp/mime/packages/"
    if update-mime-database "$tmp/mime" > "$tmp/mime.log" 2>&1 && ! grep -qi 'warn\|error' "$tmp/mime.log"; then
      for zeile in "application/x-zelta-notendatei:*.zln" "application/x-ravirireru-ergebnis:*.zle"; do
        grep -qF ":$zeile" "$tmp/mime/globs2" && ok "MIME database: $zeile" \
          || fehlt "MIME database has no glob $zeile"
      done
    else
      cat "$tmp/mime.log"; fehlt "update-mime-database refuses the MIME XML"
    fi
  fi
  # One icon per declared type, named after the type with "/" as "-".
  for typ in $(grep -o 'mime-type type="[^"]*"' "$mimexml" | sed 's/.*type="//; s/"$//'); do
    [ -f "$wurzel/$datadir/icons/hicolor/scalable/mimetypes/${typ//\//-}.svg" ] \
      || fehlt "no icon for MIME type $typ"
  done
fi

# --- the icons are SVG that parse --------------------------------------------------------------
if command -v xmllint > /dev/null; then
  for svg in "$wurzel/$datadir"/icons/hicolor/scalable/*/*.svg; do
    [ -f "$svg" ] || continue
    xmllint --noout "$svg" 2> /dev/null && grep -q '<svg' "$svg" || fehlt "not an SVG file: ${svg#$wurzel/}"
  done
fi

# --- the help pages: both pages, every local link and anchor resolves --------------------------
if [ -d "$wurzel/$hilfe" ]; then
  for seite in "$wurzel/$hilfe"/*.html; do
    for ziel in $(grep -o 'href="[^"]*"' "$seite" | sed 's/^href="//; s/"$//'); do
      case "$ziel" in http:* | https:* | mailto:*) continue ;; esac
      datei=${ziel%%#*}; anker=
      [ "$datei" != "$ziel" ] && anker=${ziel#*#}
      [ -z "$datei" ] && datei=$(basename "$seite")
      if [ ! -f "$wurzel/$hilfe/$datei" ]; then
        fehlt "help page $(basename "$seite") links to missing $datei"
      elif [ -n "$anker" ] && ! grep -q "id=\"$anker\"" "$wurzel/$hilfe/$datei"; then
        fehlt "help page $(basename "$seite") links to missing anchor $datei#$anker"
      fi
    done
  done
  ok "help page links checked"
fi
# --- AppStream, manual pages, PNG icons ----------------------------------------------------------
metainfo="$wurzel/$datadir/metainfo/de.fernholm.ravirireru.metainfo.xml"
if [ -f "$metainfo" ] && command -v appstreamcli > /dev/null; then
  if appstreamcli validate --no-net "$metainfo" > "$tmp/appstream.log" 2>&1; then ok "appstreamcli validate"
  else cat "$tmp/appstream.log"; fehlt "appstreamcli refuses the metainfo"; fi
  for typ in application/x-zelta-notendatei application/x-ravirireru-ergebnis; do
    grep -q "<mediatype>$typ</mediatype>" "$metainfo" || fehlt "metainfo does not name $typ"
  done
fi
for seite in "$wurzel/$datadir"/man/man1/*.1.gz; do
  [ -f "$seite" ] || continue
  if command -v man > /dev/null; then
    warnungen=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$seite" 2>&1 > /dev/null)
    [ -z "$warnungen" ] && ok "manual page $(basename "$seite")" || fehlt "manual page $(basename "$seite"): $warnungen"
  fi
done
for png in "$wurzel/$datadir"/icons/hicolor/*x*/*/*.png; do
  [ -f "$png" ] || continue
  groesse=$(basename "$(dirname "$(dirname "$png")")")
  kopf=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
  breite=$((16#${kopf:32:8})); hoehe=$((16#${kopf:40:8}))
  [ "${kopf:0:16}" = 89504e470d0a1a0a ] && [ "${breite}x${hoehe}" = "$groesse" ] \
    || fehlt "not a $groesse PNG: ${png#$wurzel/}"
done

# --- the Debian package ------------------------------------------------------------------------
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$tmp/paket" > "$tmp/cpack.log" 2>&1; then
  cat "$tmp/cpack.log"
  fehlt "cpack -G DEB failed"
else
  deb=$(ls "$tmp"/paket/*.deb | head -n 1)
  ok "package $(basename "$deb")"
  [ "$(dpkg-deb -f "$deb" Package)" = ravirireru ] || fehlt "package name is not ravirireru"
  depends=$(dpkg-deb -f "$deb" Depends)
  for paket in libqt6widgets6 libqt6svg6 libqt6network6 libcurl4 qt6-translations-l10n qt6-qpa-plugins; do
    grep -q "$paket" <<< "$depends" || fehlt "package Depends lacks $paket: $depends"
  done
  # The package installs into /usr, where Debian's triggers (MIME database, icon cache,
  # desktop database) see its files.
  dpkg-deb -c "$deb" > "$tmp/inhalt.txt"
  for f in "${erwartet[@]}"; do
    if grep -qE "[[:space:]]\./usr/$f\$" "$tmp/inhalt.txt"; then ok "package lists /usr/$f"
    else fehlt "package does not list /usr/$f"; fi
  done
  for f in "$bindir/$programm" ${werkzeug:+"$bindir/$werkzeug"}; do
    grep -qE "^-rwx.*[[:space:]]\./usr/$f\$" "$tmp/inhalt.txt" || fehlt "not executable in the package: /usr/$f"
  done
  grep -qE "[[:space:]]\./usr/local/" "$tmp/inhalt.txt" && fehlt "the package puts files under /usr/local"

  # Nothing installed names the build machine's folders (a build as the package ships it:
  # Debian's flags map the source folder to ".", a sanitizer build keeps its paths for its
  # reports).
  dpkg-deb -x "$deb" "$tmp/entpackt"
  [ "$wie_ausgeliefert" = 1 ] || echo "note: not a build as shipped (sanitizers or RAVIRIRERU_HAERTUNG=OFF): paths, hardening and lintian are not checked"
  for pfad in $([ "$wie_ausgeliefert" = 1 ] && echo ${quelle:+"$quelle"} "$build"); do
    treffer=$(grep -rlaF "$pfad" "$tmp/entpackt" || true)
    [ -z "$treffer" ] && ok "no installed file names $pfad" \
      || fehlt "installed files name the build machine's $pfad: ${treffer//$tmp\/entpackt/}"
  done

  # Debian's own check of the package: no error, no warning (informational tags are allowed).
  # Only for a build as shipped: a sanitizer build is no package to hand out.
  if [ "$wie_ausgeliefert" = 0 ]; then
    :
  elif command -v lintian > /dev/null; then
    lintian --no-cfg --display-level '>=warning' --tag-display-limit 0 "$deb" > "$tmp/lintian.log" 2>&1 || true
    if grep -qE '^[EW]: ' "$tmp/lintian.log"; then
      grep -E '^[EW]: ' "$tmp/lintian.log"; fehlt "lintian finds errors or warnings"
    else
      ok "lintian: no error, no warning"
    fi
  else
    fehlt "lintian is not installed (scripts/pakete installs it)"
  fi
fi

if [ "$fehler" -gt 0 ]; then
  echo "$fehler check(s) failed"
  exit 1
fi
echo "installation and package checked"
