#!/usr/bin/env bash
# Builds the browser's page: the game's own C++ (the table's layout, the
# chain, the hands, the texts and the mirror of a server's table) compiled to
# WebAssembly with emscripten, beside the page's HTML, script and the artwork
# strips. Objects already newer than their source (and every header) are kept.
#
#   scripts/build-page.sh SOURCE_DIR OUT_DIR [OBJECT_DIR]
set -euo pipefail
src=$(cd "$1" && pwd)
out=$2
obj=${3:-$out.obj}
mkdir -p "$out" "$obj"
# Debian's emscripten finds its acorn through NODE_PATH when another Node.js
# comes first on the PATH.
export NODE_PATH=${NODE_PATH:-/usr/share/nodejs}
export EM_CACHE=${EM_CACHE:-$obj/emcache}
if [ ! -d "$EM_CACHE" ] && [ -d /usr/share/emscripten/cache ]; then
  cp -r /usr/share/emscripten/cache "$EM_CACHE"
fi

flags=(-std=c++20 -O2 -fno-exceptions -DNDEBUG "-I$src/src" -Wall -Wno-unused-command-line-argument)
# Everything the mirror may reach; the archive lets the linker take only the
# objects the page uses.
mapfile -t lib_sources < <(cd "$src/src" && ls model/*.cpp layout/*.cpp engine/*.cpp player/*.cpp \
  protocol/*.cpp net/remote_table.cpp net/remote_hand.cpp net/remote_reading.cpp net/kept_hands.cpp net/chat_text.cpp net/lobby.cpp net/server_address.cpp web/web_table.cpp web/web_table_draw.cpp web/draw_list.cpp \
  storage/text_codec.cpp storage/clean_text.cpp)
newest_header=$(find "$src/src" -name '*.h' -printf '%T@\n' | sort -n | tail -1)

compile() {
  local f=$1 o
  o="$obj/${f//\//_}.o"
  if [ -f "$o" ] && [ "$(stat -c %Y "$o")" -ge "$(stat -c %Y "$src/src/$f")" ] &&
    [ "$(stat -c %Y "$o")" -ge "${newest_header%.*}" ]; then
    return 0
  fi
  em++ "${flags[@]}" -c "$src/src/$f" -o "$o"
}
export -f compile
export src obj newest_header
export flags_str="${flags[*]}"
# Two at a time: the build machine is shared.
printf '%s\n' "${lib_sources[@]}" web/web_main.cpp |
  xargs -P 2 -I{} bash -c 'flags=($flags_str); compile "$@"' _ {}

# The module is linked again only when an object is newer than it.
if [ -f "$out/tarvelis.wasm" ] && [ -z "$(find "$obj" -maxdepth 1 -name '*.o' -newer "$out/tarvelis.wasm")" ]; then
  relink=0
else
  relink=1
fi
if [ $relink = 1 ]; then
  rm -f "$obj/libpage.a"
  emar rcs "$obj/libpage.a" $(for f in "${lib_sources[@]}"; do echo "$obj/${f//\//_}.o"; done)
  em++ -O2 -fno-exceptions "$obj/web_web_main.cpp.o" "$obj/libpage.a" -o "$out/tarvelis.js" \
    -sMODULARIZE=1 -sEXPORT_NAME=TarvelisModule -sENVIRONMENT=web -sALLOW_MEMORY_GROWTH=1 \
    -sFILESYSTEM=0 -sEXPORTED_RUNTIME_METHODS=ccall,cwrap,UTF8ToString \
    -sEXPORTED_FUNCTIONS=_malloc,_free
fi

cp "$src/src/web/page/"* "$out/"
cp "$src/resources/icons/tarvelis.png" "$out/"
mkdir -p "$out/strips"
for s in marmol dibujos punneg puntitos dorsos bmpvario piezas manos mensajes; do
  cp "$src/resources/strips/$s.png" "$out/strips/"
  if [ -f "$src/resources/strips/x3/$s.png" ]; then
    mkdir -p "$out/strips/x3"
    cp "$src/resources/strips/x3/$s.png" "$out/strips/x3/"
  fi
done
echo "page built in $out"
