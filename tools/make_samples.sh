#!/usr/bin/env bash
# Makes the sample documents of a small office that the first start copies beside the sample
# catalogue: Japanese text in every format the content search reads, and a photo. Writes them
# under OUT (default: examples/samples) with samples.tsv, the catalogue's entries: path below
# OUT, title and comment. The documents are committed; run again after changing a text.
# Usage: make_samples.sh MAKE_DOCUMENT [OUT]
set -euo pipefail
make_document=$1
out=${2:-$(dirname "$0")/../examples/samples}
mkdir -p "$out"
out=$(realpath "$out")
entries=()
# sample FORMAT PATH TITLE COMMENT PARAGRAPH...
sample() {
  local format=$1 path=$2 title=$3 comment=$4
  shift 4
  mkdir -p "$out/$(dirname "$path")"
  "$make_document" "$format" "$out/$path" "$@"
  entries+=("$path"$'\t'"$title"$'\t'"$comment")
}

sample pdf 報告/2026年度第3四半期報告書.pdf "第3四半期報告書" "7月から9月の売上と経費。役員会に提出済み" \
  "2026年度 第3四半期 業務報告書" \
  "売上高は前年同期比12%増の4,860万円となりました。" \
  "新規顧客のうち、ひまわり印刷様との年間契約が最大の案件です。" \
  "経費は事務所移転の費用を除き、計画どおりに推移しました。"
sample docx 会議/営業会議議事録_10月.docx "営業会議議事録 (10月)" "出席者5名。次回は11月14日" \
  "営業会議 議事録" "日時: 2026年10月15日 10時〜11時30分" \
  "議題1: 年末商戦の販促計画。店頭用ちらしを3千部刷ることに決定。" \
  "議題2: 見積書の書式を統一する。担当は佐藤。"
sample xlsx 見積/見積書_みどり商店.xlsx "見積書 みどり商店様" "事務机と椅子。有効期限は今月末" \
  "御見積書" "みどり商店 御中" "事務机 4台 単価 38,000円" "事務椅子 4脚 単価 12,500円" \
  "合計 202,000円 (税別)"
sample odt 価格表/2026年秋の価格表.odt "価格表 2026年秋" "10月改定。旧価格表は破棄のこと" \
  "価格表 (2026年10月改定)" "A4コピー用紙 500枚 480円" "ボールペン 黒 10本 900円" \
  "クリアファイル 20枚 350円"
sample html 案内/事務所への道順.html "事務所への道順" "来客用。駅からの地図つきの案内" \
  "事務所への道順" "駅の北口を出て、銀杏並木を真っすぐ5分歩きます。" \
  "郵便局の角を右に曲がり、三階建ての白いビルの2階です。"
sample utf8 手紙/お礼状_山田様.txt "お礼状 山田様" "展示会のお礼。10月20日発送" \
  "山田 太郎 様" "先日はお忙しいところ展示会にお越しいただき、誠にありがとうございました。" \
  "今後ともよろしくお願い申し上げます。"
sample cp932 手紙/引継ぎメモ.txt "引継ぎメモ" "古い Windows の機械で書いたもの (Shift-JIS)" \
  "引継ぎメモ" "金庫の暗証番号は総務の鈴木さんに確認してください。" \
  "郵便物は毎朝9時に受付の棚に届きます。"

# The photo: a picture of the office window, drawn and rendered (no camera needed).
mkdir -p "$out/写真"
rsvg-convert -w 160 -h 120 -o "$out/写真/事務所の窓.png" <<'SVG'
<svg xmlns="http://www.w3.org/2000/svg" width="160" height="120">
  <rect width="160" height="120" fill="#e8dcc4"/>
  <rect x="30" y="14" width="100" height="76" fill="#8fc3ea" stroke="#6b4f2a" stroke-width="6"/>
  <line x1="80" y1="14" x2="80" y2="90" stroke="#6b4f2a" stroke-width="4"/>
  <circle cx="110" cy="36" r="10" fill="#fff3a0"/>
  <rect x="20" y="90" width="120" height="8" fill="#6b4f2a"/>
  <rect x="54" y="74" width="14" height="16" fill="#3c8d3c"/>
</svg>
SVG
entries+=("写真/事務所の窓.png"$'\t'"事務所の窓"$'\t'"移転後の事務所。2026年9月撮影")

printf '%s\n' "${entries[@]}" >"$out/samples.tsv"
