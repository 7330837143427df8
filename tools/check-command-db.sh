#!/usr/bin/env bash
# Checks the command palette's list, content/command.db (or the file given as $1):
#   - it converts to CP932, as the build does, and holds none of the characters that
#     glibc converts but Windows maps back to something else;
#   - every line is a comment or a well-formed entry (see the file's own header);
#   - every name is a control word that pLaTeX defines with the packages below.
# Run from anywhere; exits non-zero and says what failed.
set -u

root=$(cd "$(dirname "$0")/.." && pwd)
db=${1:-$root/content/command.db}
min_entries=450
kinds='見出し 文書 書体 大きさ 数式 記号 環境 参照 図表 箇条書き 配置 空白 和文 縦書き 色 定義 長さ 目次 脚注 文献 改ページ ロゴ'
# The descriptions name these packages; the check loads exactly these.
packages='plext amsmath amssymb amsthm bm graphicx color url hyperref array multicol tabularx makeidx'
# \chapter and its kin exist only in the book and report classes.
second_class=jbook

failed=0
fail() { echo "FAIL: $*"; failed=1; }

for tool in iconv awk platex kpsewhich; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool not found"; exit 2; }
done
[ -f "$db" ] || { echo "FAIL: $db not found"; exit 2; }

tmp=$(mktemp -d) || exit 2
trap 'rm -rf "$tmp"' EXIT

# 1. The build converts with iconv; report the line of the first character it refuses.
if ! iconv -f UTF-8 -t CP932 "$db" >"$tmp/db.sjis" 2>"$tmp/iconv.err"; then
  pos=$(grep -o 'position [0-9]*' "$tmp/iconv.err" | grep -o '[0-9]*' | head -n 1)
  if [ -n "$pos" ]; then
    fail "not CP932: line $(( $(head -c "$pos" "$db" | wc -l) + 1 )): $(cat "$tmp/iconv.err")"
  else
    fail "not CP932: $(cat "$tmp/iconv.err")"
  fi
fi
# glibc converts these, but Windows turns the CP932 bytes back into other characters
# (the fullwidth forms are the ones that survive the round trip).
#   U+301C wave dash, U+2016 double bar, U+2212 minus, U+00A2 cent, U+00A3 pound, U+00AC not
bad=$(LC_ALL=C grep -n -e $'\xe3\x80\x9c' -e $'\xe2\x80\x96' -e $'\xe2\x88\x92' \
  -e $'\xc2\xa2' -e $'\xc2\xa3' -e $'\xc2\xac' "$db")
[ -z "$bad" ] || fail "characters that do not survive CP932 on Windows (use ～ ∥ － ￠ ￡ ￢):"$'\n'"$bad"
if [ -s "$db" ] && [ "$(tail -c 1 "$db" | od -An -tx1 | tr -d ' ')" != 0a ]; then
  fail "the last line has no line end"
fi

# 2. Line format. The program splits at every ASCII comma and trims nothing.
LC_ALL=C awk -v kinds="$kinds" -v names="$tmp/names" -v min="$min_entries" '
  BEGIN { n = split(kinds, k, " "); for (i = 1; i <= n; i++) kind[k[i]] = 1; bad = 0 }
  function err(msg) { printf "FAIL: line %d: %s: %s\n", NR, msg, $0; bad = 1 }
  /\r/ { err("carriage return (the file uses LF line ends)") }
  /[ \t\r]$/ { err("trailing whitespace") }
  $0 == "" { err("empty line (it would be an empty entry)"); next }
  substr($0, 1, 2) == "%%" { next }
  {
    entries++
    c = gsub(/,/, ",")
    if (c != 3) { err("needs exactly 3 commas, has " c); next }
    split($0, f, ",")
    if (f[1] !~ /^[A-Za-z]+$/) err("name is not a control word")
    else if (f[1] in seen) err("name already on line " seen[f[1]])
    else { seen[f[1]] = NR; print f[1] > names }
    if (f[2] ~ /^[ \t]/ || f[2] ~ /[ \t]$/) err("argument form has spaces at an end")
    if (!(f[3] in kind)) err("unknown kind \"" f[3] "\"")
    if (f[4] == "") err("empty description")
    else if (f[4] ~ /^[ \t]/) err("description starts with a space")
  }
  END {
    if (entries < min) { printf "FAIL: %d entries, fewer than %d\n", entries, min; bad = 1 }
    printf "%d entries\n", entries
    exit bad
  }' "$db" || failed=1
[ -f "$tmp/names" ] || : >"$tmp/names"

# 3. Every name is defined. One document per class; a name passes if the first class
#    defines it, or failing that the second.
for p in $packages; do
  kpsewhich "$p.sty" >/dev/null || fail "package $p not installed"
done
for c in jarticle $second_class; do
  kpsewhich "$c.cls" >/dev/null || fail "class $c not installed"
done
[ "$failed" = 0 ] || { echo "command.db check failed"; exit 1; }

# Writes "<class>.undefined": the names of $2 that the class does not define.
probe() {
  local class=$1 list=$2 dir=$tmp/$1
  mkdir -p "$dir"
  {
    echo "\\documentclass[dvipdfmx]{$class}"
    echo "\\usepackage{$(echo $packages | tr ' ' ',')}"
    echo '\begin{document}'
    while read -r name; do
      echo "\\ifdefined\\$name\\typeout{DEFINED $name}\\else\\typeout{UNDEFINED $name}\\fi"
    done <"$list"
    echo '\typeout{PROBE FINISHED}'
    echo '\end{document}'
  } >"$dir/probe.tex"
  (cd "$dir" && max_print_line=10000 platex -interaction=nonstopmode -halt-on-error probe.tex >/dev/null 2>&1)
  local rc=$?
  # A run that stopped early reports nothing undefined; insist that it got to the end
  # and answered once for every name.
  if [ $rc != 0 ] || ! grep -qx 'PROBE FINISHED' "$dir/probe.log"; then
    echo "FAIL: platex on the $class probe did not finish (exit $rc):"
    grep -A 3 '^!' "$dir/probe.log" | head -n 20
    return 1
  fi
  local answers
  answers=$(grep -cE '^(UNDEFINED|DEFINED) [A-Za-z]+$' "$dir/probe.log")
  if [ "$answers" != "$(wc -l <"$list")" ]; then
    echo "FAIL: the $class probe answered $answers times for $(wc -l <"$list") names"
    return 1
  fi
  sed -n 's/^UNDEFINED //p' "$dir/probe.log" >"$tmp/$class.undefined"
}

probe jarticle "$tmp/names" || exit 1
if [ -s "$tmp/jarticle.undefined" ]; then
  probe "$second_class" "$tmp/jarticle.undefined" || exit 1
  undefined=$(tr '\n' ' ' <"$tmp/$second_class.undefined")
  only_second=$(grep -vxF -f "$tmp/$second_class.undefined" "$tmp/jarticle.undefined" | tr '\n' ' ')
  [ -z "$only_second" ] || echo "defined only by $second_class: ${only_second% }"
  [ -z "$undefined" ] || fail "undefined under pLaTeX with $packages: ${undefined% }"
fi
echo "names checked with platex (jarticle, then $second_class) and packages: $packages"

if [ "$failed" != 0 ]; then
  echo "command.db check failed"
  exit 1
fi
echo "command.db check passed"
