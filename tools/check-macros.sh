#!/usr/bin/env bash
# Checks the fixed macros shipped in content/macros.
#
# Each file must have the form the macro dialog reads (header line, "%title" line, body),
# survive the build's conversion to CP932 unchanged, and be tidy (LF line ends, no tabs or
# trailing blanks, two-space indentation, a newline at the end). Each body must then
# compile with pLaTeX the way a user meets it: converted to Shift-JIS and read with
# "platex -kanji=sjis", run twice so cross references settle, and turned into a PDF with
# dvipdfmx. The UTF-8 file of the repo is compiled once as well.
#
#   - A body that starts with \documentclass is a whole document and is compiled as is.
#   - A body listed in PREAMBLE_MACROS is put into the preamble of a small jarticle
#     document.
#   - Any other body is put between two paragraphs of a small jarticle document whose
#     preamble loads amsmath, amssymb, graphicx (dvipdfmx), plext and the preamble macros
#     (so the theorem snippets meet the \newtheorem lines we ship).
#
# A compile fails on a non-zero exit status, on any "! " line, on a missing character,
# on an overfull box, on a reference or citation still undefined after the second run,
# or when no DVI or PDF comes out. Pictures named by \includegraphics are supplied as a
# small PDF made at the start.
#
# Usage (from the repo root):  tools/check-macros.sh [folder]     default: content/macros
# Set KEEP_WORK=1 to keep the work folder for a look at the logs.

set -u -o pipefail
export LC_ALL=C

readonly HEADER='%% TeX Quillet Macro 1.0'
readonly MIN_COUNT=24
# Macros meant for the preamble (before \begin{document}).
readonly PREAMBLE_MACROS=(kanjiskip.tex newtheorem.tex)

repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folder=${1:-$repo_root/content/macros}

for tool in iconv platex dvipdfmx timeout; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "check-macros: $tool is not installed" >&2
    exit 2
  fi
done
if [[ ! -d $folder ]]; then
  echo "check-macros: no folder $folder" >&2
  exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/check-macros.XXXXXX")
if [[ ${KEEP_WORK:-0} == 1 ]]; then
  echo "work folder: $work"
else
  trap 'rm -rf "$work"' EXIT
fi

shopt -s nullglob
files=("$folder"/*.tex)
shopt -u nullglob

failed=0
declare -A title_owner=()
declare -A file_failed=()

fail() {  # file, message...
  local name=$1
  shift
  echo "FAIL  $name: $*"
  file_failed[$name]=1
}

is_preamble_macro() {
  local m
  for m in "${PREAMBLE_MACROS[@]}"; do
    [[ $m == "$1" ]] && return 0
  done
  return 1
}

# ---------------------------------------------------------------- the file format

if (( ${#files[@]} < MIN_COUNT )); then
  echo "FAIL  only ${#files[@]} macro files in $folder (at least $MIN_COUNT expected)"
  failed=1
fi

for m in "${PREAMBLE_MACROS[@]}"; do
  if [[ ! -f $folder/$m ]]; then
    echo "FAIL  $m is listed as a preamble macro but is not in $folder"
    failed=1
  fi
done

for f in "${files[@]}"; do
  name=$(basename "$f")

  if [[ ! $name =~ ^[a-z0-9][a-z0-9_-]{0,15}\.tex$ ]]; then
    fail "$name" "the file name is not short lowercase ASCII"
  fi
  if [[ ! -s $f ]]; then
    fail "$name" "the file is empty"
    continue
  fi

  if ! iconv -f UTF-8 -t CP932 "$f" >"$work/cp932" 2>"$work/iconv.err"; then
    fail "$name" "not convertible to CP932: $(head -n1 "$work/iconv.err")"
  elif ! iconv -f CP932 -t UTF-8 "$work/cp932" | cmp -s - "$f"; then
    fail "$name" "the CP932 conversion does not come back unchanged"
  fi

  if LC_ALL=C grep -q $'\r' "$f"; then
    fail "$name" "has CR characters (the repo keeps LF line ends)"
  fi
  if [[ $(tail -c1 "$f" | od -An -tx1 | tr -d ' ') != 0a ]]; then
    fail "$name" "does not end with a newline"
  fi

  line1=$(sed -n 1p "$f")
  if [[ $line1 != "$HEADER" ]]; then
    fail "$name" "line 1 is not exactly '$HEADER'"
  fi

  line2=$(sed -n 2p "$f")
  title=${line2#%}
  trimmed=$(printf '%s' "$title" | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*$//')
  if [[ ${line2:0:1} != % ]]; then
    fail "$name" "line 2 does not start with %"
  elif [[ -z $trimmed ]]; then
    fail "$name" "the title on line 2 is empty"
  elif ! printf '%s' "$title" | LC_ALL=C grep -q '[^ -~]'; then
    fail "$name" "the title '$title' has no Japanese in it"
  elif [[ -n ${title_owner[$title]:-} ]]; then
    fail "$name" "the title '$title' is also used by ${title_owner[$title]}"
  else
    title_owner[$title]=$name
  fi

  body_lines=$(( $(wc -l <"$f") - 2 ))
  if (( body_lines < 1 )) || ! tail -n +3 "$f" | grep -q '[^[:space:]]'; then
    fail "$name" "the body is empty"
  else
    if [[ -z $(sed -n 3p "$f" | tr -d '[:space:]') ]]; then
      fail "$name" "the body starts with a blank line"
    fi
    if [[ -z $(tail -n1 "$f" | tr -d '[:space:]') ]]; then
      fail "$name" "the body ends with a blank line"
    fi
  fi

  bad=$(LC_ALL=C grep -n -e $'[ \t]$' -e $'\xe3\x80\x80$' "$f" | cut -d: -f1 | tr '\n' ' ')
  [[ -n $bad ]] && fail "$name" "trailing blanks on line(s) $bad"
  bad=$(LC_ALL=C grep -n $'\t' "$f" | cut -d: -f1 | tr '\n' ' ')
  [[ -n $bad ]] && fail "$name" "tab characters on line(s) $bad"
  bad=$(awk '{ match($0, /^ */); if (RLENGTH % 2) printf "%d ", NR }' "$f")
  [[ -n $bad ]] && fail "$name" "indentation that is not a multiple of two spaces on line(s) $bad"
done

# ---------------------------------------------------------------- compiling

# The picture every \includegraphics gets: a one-page PDF made by the same tools.
mkdir -p "$work/picture"
cat >"$work/picture/pic.tex" <<'EOF'
\documentclass{jarticle}
\pagestyle{empty}
\special{papersize=4cm,3cm}
\setlength{\hoffset}{-1in}
\setlength{\voffset}{-1in}
\setlength{\oddsidemargin}{0pt}
\setlength{\topmargin}{0pt}
\setlength{\headheight}{0pt}
\setlength{\headsep}{0pt}
\setlength{\fboxsep}{0pt}
\begin{document}
\noindent\fbox{\parbox[c][\dimexpr3cm-0.8pt][c]{\dimexpr4cm-0.8pt}{\centering 図}}
\end{document}
EOF
if ! (cd "$work/picture" && timeout 120 platex -interaction=nonstopmode -halt-on-error pic.tex \
        </dev/null >/dev/null 2>&1 && timeout 120 dvipdfmx -q pic.dvi >/dev/null 2>&1) ||
   [[ ! -s $work/picture/pic.pdf ]]; then
  echo "FAIL  could not make the sample picture with platex and dvipdfmx"
  exit 1
fi

preamble_bodies() {  # the bodies of all preamble macros
  local m
  for m in "${PREAMBLE_MACROS[@]}"; do
    [[ -f $folder/$m ]] && tail -n +3 "$folder/$m"
  done
}

# Log lines as UTF-8 (the Shift-JIS runs write their logs in Shift-JIS).
log_text() {  # log file
  case $1 in
    s.log) iconv -f CP932 -t UTF-8 -c "$1" ;;
    *) cat "$1" ;;
  esac
}

show_errors() {  # log file
  log_text "$1" | grep -a -A4 '^! ' | head -n 12 | sed 's/^/      | /'
}

# Runs platex in the current folder; name, label, file, platex options...
# Fails on the exit status and on "! " lines.
run_platex() {
  local name=$1 label=$2 file=$3
  shift 3
  local log=${file%.tex}.log
  if ! timeout 120 platex "$@" -interaction=nonstopmode -halt-on-error "$file" \
        </dev/null >"${file%.tex}.out" 2>&1; then
    fail "$name" "platex $label failed"
    [[ -f $log ]] && show_errors "$log"
    return 1
  fi
  if grep -aq '^! ' "$log"; then
    fail "$name" "platex $label reported errors"
    show_errors "$log"
    return 1
  fi
  return 0
}

for f in "${files[@]}"; do
  name=$(basename "$f")
  [[ -n ${file_failed[$name]:-} ]] && continue
  stem=${name%.tex}
  dir=$work/compile/$stem
  mkdir -p "$dir"

  first=$(sed -n 3p "$f")
  # The program inserts the body and then one empty line; the test documents do the same.
  if [[ $first == '\documentclass'* ]]; then
    kind=document
    { tail -n +3 "$f"; echo; } >"$dir/u.tex"
  elif is_preamble_macro "$name"; then
    kind=preamble
    {
      printf '%s\n' '\documentclass{jarticle}'
      tail -n +3 "$f"
      echo
      printf '%s\n' '\begin{document}'
      printf '%s\n' '前の段落です。和文とEnglishが混ざった文です。'
      printf '%s\n' '\end{document}'
    } >"$dir/u.tex"
  else
    kind=body
    {
      printf '%s\n' '\documentclass{jarticle}'
      printf '%s\n' '\usepackage{amsmath,amssymb}'
      printf '%s\n' '\usepackage[dvipdfmx]{graphicx}'
      printf '%s\n' '\usepackage{plext}'
      preamble_bodies
      printf '%s\n' '\begin{document}'
      printf '%s\n' '\section{見出し}'
      printf '%s\n' '前の段落です。'
      echo
      tail -n +3 "$f"
      echo
      printf '%s\n' '後の段落です。'
      printf '%s\n' '\end{document}'
    } >"$dir/u.tex"
  fi

  # Pictures the document asks for.
  grep -o '\\includegraphics\(\[[^]]*\]\)\?{[^}]*}' "$dir/u.tex" | sed 's/.*{\(.*\)}$/\1/' |
    while IFS= read -r pic; do
      [[ $pic == *.* ]] || pic=$pic.pdf
      mkdir -p "$dir/$(dirname "$pic")"
      cp "$work/picture/pic.pdf" "$dir/$pic"
    done

  if ! iconv -f UTF-8 -t CP932 "$dir/u.tex" >"$dir/s.tex"; then
    fail "$name" "the $kind test document does not convert to CP932"
    continue
  fi

  (
    cd "$dir" || exit 1
    # Shift-JIS, as the file is on a Japanese Windows machine: two runs.
    run_platex "$name" "(Shift-JIS, first run)" s.tex -kanji=sjis || exit 1
    run_platex "$name" "(Shift-JIS, second run)" s.tex -kanji=sjis || exit 1
    ok=0
    if ! grep -aq '^Output written on s\.dvi' s.log; then
      fail "$name" "no DVI written"; ok=1
    fi
    if grep -aq '^Missing character' s.log; then
      fail "$name" "missing characters"; log_text s.log | grep -a '^Missing character' | sed 's/^/      | /'; ok=1
    fi
    if grep -aq '^Overfull \\[hv]box' s.log; then
      fail "$name" "overfull boxes"; log_text s.log | grep -a -A1 '^Overfull' | sed 's/^/      | /'; ok=1
    fi
    if grep -aEq 'LaTeX Warning: (Reference|Citation) .* undefined|There were undefined references' s.log; then
      fail "$name" "undefined references after the second run"; ok=1
    fi
    if ! timeout 120 dvipdfmx -q -o s.pdf s.dvi >dvipdfmx.out 2>&1 || [[ ! -s s.pdf ]]; then
      fail "$name" "dvipdfmx failed"; sed 's/^/      | /' dvipdfmx.out | head -n 8; ok=1
    fi
    # The UTF-8 file as it is kept in the repo.
    run_platex "$name" "(UTF-8)" u.tex -kanji=utf8 || ok=1
    exit $ok
  ) || { file_failed[$name]=1; continue; }

  pages=$(sed -n 's/^Output written on s\.dvi (\([0-9]*\) page.*/\1/p' "$dir/s.log")
  printf 'ok    %-18s %-9s %s page(s)  %s\n' "$name" "$kind" "$pages" "$(sed -n 2p "$f" | cut -c2-)"
done

nfail=${#file_failed[@]}
if (( failed || nfail )); then
  echo "check-macros: FAILED ($nfail of ${#files[@]} macro file(s) failed; see above)"
  exit 1
fi
echo "check-macros: ${#files[@]} macro files, all checks passed"
