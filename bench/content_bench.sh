#!/usr/bin/env bash
# Indexes a generated Japanese corpus of every format kantoria-extract reads, each document
# holding a unique marker, plus hostile files, with kantoria-cli and with Recoll on the same
# files in the same run; reports per format the markers found alone and the query median and
# 95th percentile, and in all the index times, the index sizes against the extracted text and
# what each hostile file cost the extraction.
# A report, not a test. Usage:
#   bench/content_bench.sh [BUILD_DIR] [DOCUMENTS_PER_FORMAT] [QUERIES_PER_FORMAT] [WORK_DIR]
set -euo pipefail
build=${1:-build-release}
per=${2:-40}
queries=${3:-$per}
work=${4:-/tmp/kantoria-content-bench}
cli=$build/kantoria-cli
extract=$build/kantoria-extract
make=$build/tools/make_document
for tool in "$cli" "$extract" "$make"; do
    [ -x "$tool" ] || { echo "no $tool (build kantoria-cli and make_document first)" >&2; exit 1; }
done
for tool in bc /usr/bin/time python3; do
    command -v "$tool" >/dev/null || { echo "needs $tool" >&2; exit 1; }
done
# The peer and the PDF tools are no dependency of the program: installed for the run.
if ! command -v recollindex >/dev/null || ! command -v pdftotext >/dev/null; then
    apt-get install -y recollcmd poppler-utils >/dev/null
fi
formats="docx xlsx pptx odt ods odp html utf8 utf8bom utf16le utf16be cp932 eucjp iso2022jp pdf"
ext_of() {
    case $1 in
        utf8 | utf8bom | utf16le | utf16be | cp932 | eucjp | iso2022jp) echo "$1.txt" ;;
        *) echo "$1" ;;
    esac
}
now() { date +%s.%N; }
fullwidth() {
    local digits=(０ １ ２ ３ ４ ５ ６ ７ ８ ９) out="" k
    for ((k = 0; k < ${#1}; k++)); do out+=${digits[${1:k:1}]}; done
    echo "$out"
}
upper() { tr '[:lower:]' '[:upper:]' <<<"$1" | tr -d '.'; }
marker() { echo "識別$(upper "$1")$(fullwidth "$2")番"; }

corpus=$work/corpus
if [ ! -f "$work/.complete-$per" ]; then
    rm -rf "$work"
    mkdir -p "$corpus/hostile"
    echo "generating $per documents per format in $corpus ..."
    for f in $formats; do
        mkdir -p "$corpus/$f"
        for i in $(seq -w 1 "$per"); do
            n=$((10#$i))
            "$make" "$f" "$corpus/$f/doc$i.$(ext_of "$f")" \
                "第${n}回 定例会議の議事録です。出席者は各部署の担当者でした。" \
                "本文の$((n % 7))段落目: 予算と日程について確認し、次回までに資料をまとめます。" \
                "$(marker "$f" "$i")" \
                "Report ${f} number ${n}: schedule, budget and minutes of the meeting."
        done
    done
    # Hostile files: a small DOCX inflating to 2 GB, a truncated PDF, random bytes named
    # .docx and a text file of 60 MB.
    python3 - "$corpus/hostile/bomb.docx" <<'PY'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    z.writestr("[Content_Types].xml", "<Types/>")
    with z.open("word/document.xml", "w", force_zip64=True) as member:
        chunk = b"<w:t>" + b"a" * (1 << 20) + b"</w:t>"
        for _ in range(2048):
            member.write(chunk)
PY
    first_pdf=$(find "$corpus/pdf" -name '*.pdf' | sort | sed -n 1p)
    head -c "$(($(stat -c %s "$first_pdf") / 2))" "$first_pdf" >"$corpus/hostile/truncated.pdf"
    head -c 200000 /dev/urandom >"$corpus/hostile/random.docx"
    { yes "大きな文書の一行です。A line of the large document." || true; } | head -c 60000000 \
        >"$corpus/hostile/large.txt"
    touch "$work/.complete-$per"
fi

# The catalogue: every file, UTF-8.
catalogue=$work/bench.ZNL
{
    printf 'SELECTED=\r\nLASTHOLDER=\r\nTITLEWIDTH=200\r\nCOMMENTWIDTH=400\r\nPATHWIDTH=250\r\n'
    find "$corpus" -type f | sort | while read -r path; do
        printf '%s\t%s\t\r\n' "$path" "$(basename "$path")"
    done
} >"$catalogue"
documents=$(($(wc -l <"$catalogue") - 5))

echo "machine: $(nproc) CPU ($(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)), $(free -g | awk '/Mem:/ {print $2}') GiB"
echo "load before: $(uptime | sed 's/.*load/load/')"
echo "corpus: $documents files ($(du -sh "$corpus" | cut -f1))"

# What each hostile file costs the extraction on its own.
echo
echo "hostile file        seconds  peak RSS MiB  outcome"
for h in "$corpus"/hostile/*; do
    set +e
    /usr/bin/time -f '%e %M' -o "$work/time" "$extract" "$h" >"$work/text" 2>"$work/err"
    status=$?
    set -e
    read -r secs kib < <(tail -1 "$work/time")
    printf '%-18s %8s %13d  exit %d, %d bytes of text %s\n' "$(basename "$h")" "$secs" \
        $((kib / 1024)) "$status" "$(stat -c %s "$work/text")" "$(head -c 60 "$work/err" | tr '\n' ' ')"
done

# kantoria-cli: a first index, then a second over the unchanged files.
export XDG_CACHE_HOME=$work/cache
rm -rf "$XDG_CACHE_HOME"
start=$(now)
"$cli" index "$catalogue" >"$work/index.json"
k_index=$(echo "$(now) - $start" | bc)
start=$(now)
"$cli" index "$catalogue" >"$work/index2.json"
k_again=$(echo "$(now) - $start" | bc)
k_size=$(du -sb "$XDG_CACHE_HOME/kantoria/index" | cut -f1)
text_size=0
while read -r doc; do
    text_size=$((text_size + $({ "$extract" "$doc" 2>/dev/null || true; } | wc -c)))
done < <(find "$corpus" -type f)

# Recoll over the same files.
rconf=$work/recoll
rm -rf "$rconf"
mkdir -p "$rconf"
printf 'topdirs = %s\nloglevel = 1\n' "$corpus" >"$rconf/recoll.conf"
start=$(now)
recollindex -c "$rconf" >/dev/null 2>&1 || true
r_index=$(echo "$(now) - $start" | bc)
r_size=$(du -sb "$rconf/xapiandb" | cut -f1)

# Queries: each marker sampled; found alone = exactly one answer, the right document.
: >"$work/k_times"
: >"$work/r_times"
echo
echo "format       markers  kantoria alone  Recoll alone  kantoria ms (median/p95)  Recoll ms (median/p95)"
stats() { sort -n "$1" | awk '{ a[NR] = $1 } END { if (NR == 0) { print "-/-"; exit }
    printf "%.0f/%.0f", a[int((NR + 1) / 2)], a[int(NR * 0.95 + 0.999)] }'; }
total_k=0
total_r=0
total_q=0
for f in $formats; do
    k_alone=0
    r_alone=0
    : >"$work/kf"
    : >"$work/rf"
    for i in $(seq -w 1 "$per" | shuf -n "$queries" --random-source=<(yes)); do
        m=$(marker "$f" "$i")
        doc="$corpus/$f/doc$i.$(ext_of "$f")"
        start=$(now)
        out=$("$cli" find --content "$catalogue" "$m" || true)
        echo "($(now) - $start) * 1000" | bc >>"$work/kf"
        [ "$(grep -c '"title": ' <<<"$out")" -eq 1 ] && grep -qF "\"path\": \"$doc\"" <<<"$out" &&
            k_alone=$((k_alone + 1))
        start=$(now)
        out=$(recollq -c "$rconf" -b "$m" 2>/dev/null || true)
        echo "($(now) - $start) * 1000" | bc >>"$work/rf"
        [ "$(grep -c '^file://' <<<"$out")" -eq 1 ] && grep -qF "file://$doc" <<<"$out" &&
            r_alone=$((r_alone + 1))
    done
    cat "$work/kf" >>"$work/k_times"
    cat "$work/rf" >>"$work/r_times"
    printf '%-12s %7d %15d %13d %25s %23s\n' "$f" "$queries" "$k_alone" "$r_alone" \
        "$(stats "$work/kf")" "$(stats "$work/rf")"
    total_k=$((total_k + k_alone))
    total_r=$((total_r + r_alone))
    total_q=$((total_q + queries))
done
printf '%-12s %7d %15d %13d %25s %23s\n' "all" "$total_q" "$total_k" "$total_r" \
    "$(stats "$work/k_times")" "$(stats "$work/r_times")"

echo
echo "first index:   kantoria-cli ${k_index} s, Recoll ${r_index} s"
echo "second pass:   kantoria-cli ${k_again} s over unchanged files"
echo "index size:    kantoria-cli $((k_size / 1024)) KiB, Recoll $((r_size / 1024)) KiB; extracted text $((text_size / 1024)) KiB ($(echo "scale=2; $k_size / $text_size" | bc)x for kantoria-cli)"
echo "kantoria-cli index report: $(tr -d '\n' <"$work/index.json" | tr -s ' ' | cut -c1-600)"
echo "second run: $(tr -d '\n' <"$work/index2.json" | tr -s ' ' | cut -c1-200)"
