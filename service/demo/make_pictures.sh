#!/usr/bin/env bash
# Draws the demo account's advertisement and news pictures in the skin's colours.
# Needs ImageMagick and the Noto CJK fonts (Debian: imagemagick fonts-noto-cjk).
# The pictures are committed; run this again only to change them.
set -euo pipefail
cd "$(dirname "$0")"
font=/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc
regular=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc

# Nothing in a picture looks like a button: a news picture is only looked at.
# Advertisements fill a 174x110 button; drawn at twice that for sharp 200% screens.
ad() {  # file, top colour, bottom colour, title, line
  convert -size 348x220 "gradient:$2-$3" \
    -fill '#ffffff' -font "$font" -pointsize 34 -gravity northwest -annotate +24+40 "$4" \
    -font "$regular" -pointsize 20 -annotate +24+104 "$5" \
    -fill '#ffffff33' -draw 'circle 300,190 360,250' -draw 'circle 330,30 380,60' \
    -strip "$1"
}
ad ad_sync.png '#2b7cd3' '#1a5aa0' '随时随地' '人脉数据多端同步'
ad ad_cards.png '#e08a2b' '#c4572a' '名片一拍即录' '秘书代录，省时省心'

convert -size 480x270 'gradient:#f4f7fb-#dde6f1' \
  -fill '#2b7cd3' -font "$font" -pointsize 36 -gravity center -annotate +0-40 '新版日历上线' \
  -fill '#555555' -font "$regular" -pointsize 22 -annotate +0+20 '农历日期 · 事项提醒 · 一目了然' \
  -fill '#2b7cd3' -pointsize 18 -annotate +0+85 '打开“事项”页即可查看' \
  -strip news_calendar.png
