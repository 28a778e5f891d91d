#!/usr/bin/env bash
# Installs what is missing, builds and starts Vellinor.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -x build/bin/vellinor ]; then
  exec build/bin/vellinor "$@"
fi
# Until the main window exists, show a small demo notebook through vlr.
demo="${TMPDIR:-/tmp}/vellinor-demo.vlr"
rm -f "$demo"
vlr=build/bin/vlr
$vlr new "$demo" --title "Демо"
$vlr add "$demo" --name "Добро пожаловать" --plain --body - <<<"Это демонстрационная книжка." >/dev/null
$vlr add "$demo" --name "Проекты" >/dev/null
$vlr add "$demo" --name "Идеи" --under "Проекты" --plain --body - <<<"Записать всё." >/dev/null
$vlr add "$demo" --name "Список дел" --under "Проекты" >/dev/null
$vlr info "$demo"
$vlr ls "$demo"
