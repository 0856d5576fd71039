#!/usr/bin/env bash
# The level check fails on each include that runs up, and passes a tree
# whose includes run down. Usage: PlantedIncludeTest.sh CMAKE CHECKLEVELS
set -u
cmake=$1 check=$2
root=$(mktemp -d) && trap 'rm -rf "$root"' EXIT
mkdir -p "$root/src/core/store" "$root/src/paint" "$root/src/ui/shell"
printf '#include <string>\n#include "core/store/DrawTable.h"\n' > "$root/src/core/store/Fine.cpp"
printf '#include "core/grid/Grid.h"\n#include <QPainter>\n' > "$root/src/paint/Fine.cpp"
printf '#include "paint/GridPainter.h"\n#include <QWidget>\n' > "$root/src/ui/shell/Fine.cpp"
"$cmake" -DROOT="$root" -P "$check" || { echo "a tree whose includes run down was refused"; exit 1; }
fail=0
plant() { # folder file line
  printf '%s\n' "$3" > "$root/src/$1/$2"
  if "$cmake" -DROOT="$root" -P "$check" >/dev/null 2>&1; then
    echo "not caught: $1/$2: $3"; fail=1
  fi
  rm "$root/src/$1/$2"
}
plant core/store Up.h '#include "ui/shell/MainFrm.h"'
plant core/store Up.cpp '  #  include "paint/GridPainter.h"'
plant core/store Qt.cpp '#include <QString>'
plant core/store QtDir.cpp '#include <QtCore/qglobal.h>'
plant paint Up.cpp '#include "ui/grid/GridView.h"'
plant paint Widgets.cpp '#include <QWidget>'
plant ui/shell Main.cpp '#include "app/main.cpp"'
exit $fail
