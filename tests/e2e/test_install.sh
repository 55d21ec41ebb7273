#!/usr/bin/env bash
# The game installed as a desktop program: `cmake --install` into a scratch
# prefix lays out the binary, a valid menu entry, the icons and valid AppStream
# data, and the installed binary starts.
source "$(dirname "$0")/lib.sh"
trap e2e_cleanup EXIT

E2E_DIR=$(mktemp -d /tmp/tarvelis-install.XXXXXX)
export TARVELIS_TEST_STATUS="$E2E_DIR/status"
prefix="$E2E_DIR/usr"
cmake --install "$E2E_BUILD" --prefix "$prefix" >/dev/null || e2e_fail "cmake --install failed"

desktop="$prefix/share/applications/org.tarvelis.Tarvelis.desktop"
metainfo="$prefix/share/metainfo/org.tarvelis.Tarvelis.metainfo.xml"
[ -x "$prefix/bin/tarvelis" ] || e2e_fail "no installed binary"
desktop-file-validate "$desktop" || e2e_fail "the menu entry does not validate"
appstreamcli validate --no-net "$metainfo" >/dev/null || e2e_fail "the metainfo does not validate"
for size in 16 32 48 64 128 256; do
  [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/tarvelis.png" ] ||
    e2e_fail "no ${size}px icon"
done
grep -qx "Exec=tarvelis %u" "$desktop" && grep -qx "Icon=tarvelis" "$desktop" ||
  e2e_fail "the menu entry does not start the installed game with its icon"
# A tarvelis:// link clicked in a chat opens the game on its table.
grep -qx "MimeType=x-scheme-handler/tarvelis;" "$desktop" || e2e_fail "the links are not the game's"

e2e_start_x 800x600x24
HOME="$E2E_DIR/home" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb "$prefix/bin/tarvelis" \
  >>"$E2E_DIR/stdout.log" 2>&1 &
E2E_GPID=$!
e2e_close_cover
dialog=$(e2e_wait_window "Error en la carga de datos iniciales" 30) ||
  e2e_fail "the installed game did not start"
e2e_key "$dialog" Return
e2e_wait_window "TARVELIS" 10 >/dev/null || e2e_fail "no table window"
echo "PASS: install"
