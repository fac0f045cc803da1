#!/usr/bin/env bash
# Builds the web pages (preset web) and serves them on 127.0.0.1 with Python's web server, so
# that a browser can open the demo: http://127.0.0.1:PORT/vorlund.html (or the hello page
# while the demo is not built). Usage: bash tools/serve-web.sh [PORT]  (default 8080)
set -euo pipefail
cd "$(dirname "$0")/.."
port="${1:-8080}"

if ! command -v emcc >/dev/null; then
    echo "serve-web: emcc not found (Debian package emscripten)" >&2
    exit 1
fi
bash tools/fetch-zlib-source.sh
cmake --preset web >/dev/null
cmake --build --preset web -j "$(nproc)"

pages=build/web/examples/web
page=vorlund.html
[ -f "${pages}/${page}" ] || page=hello_web.html
echo "serving ${pages} at http://127.0.0.1:${port}/${page}  (Ctrl+C ends)"
exec python3 -m http.server "${port}" --bind 127.0.0.1 --directory "${pages}"
