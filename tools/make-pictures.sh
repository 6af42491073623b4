#!/bin/sh
# Draws the program's pictures into resources/ (ImageMagick 6 and the
# WenQuanYi Micro Hei font). Run once after changing the design; the JPEGs
# are kept in the repository.
set -eu

out=$(cd "$(dirname "$0")/../resources" && pwd)
font=/usr/share/fonts/truetype/wqy/wqy-microhei.ttc
title='霁岚专业美容美发管理系统'
subtitle='J I L A N   S A L O N   M A N A G E M E N T'
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A pair of scissors on a transparent 200x240 canvas, in colour $1.
scissors() {
    convert -size 200x240 xc:none -fill none -stroke "$1" -strokewidth 5 \
        -draw "ellipse 64,192 21,27 0,360" -draw "ellipse 136,192 21,27 0,360" \
        -stroke none -fill "$1" \
        -draw "polygon 76,168 90,172 112,124 152,10 100,112" \
        -draw "polygon 124,168 110,172 88,124 48,10 100,112" \
        -fill none -stroke "$1" -strokewidth 2 -draw "circle 100,118 100,123" \
        "$2"
}
scissors '#f3d9b1' "$work/gold.png"
scissors '#8a4a66' "$work/plum.png"

# Splash, 400x250: the bottom right corner stays calm for the progress bar.
convert -size 400x250 gradient:'#4a1f3d'-'#1d0f24' \
    \( -size 400x250 radial-gradient:'#b8677e'-none \) -compose over -composite \
    \( "$work/gold.png" -background none -rotate -30 -resize 150x \
       -channel A -evaluate multiply 0.16 +channel \) -geometry +292-18 -compose over -composite \
    -fill '#e8c48e' -draw "rectangle 70,142 330,142" \
    -font "$font" -fill '#fff6ea' -pointsize 24 -gravity north -annotate +0+96 "$title" \
    -fill '#e8c48e' -pointsize 11 -annotate +0+152 "$subtitle" \
    -fill '#cdb3c2' -pointsize 11 -gravity southwest -annotate +12+10 '正在启动，请稍候…' \
    -quality 88 -strip "$out/splash.jpg"

# Main window backgrounds for 800- and 1024-pixel-wide screens.
background() {
    w=$1 h=$2
    size=$((w * 26 / 100)) points=$((w * 44 / 1000))
    rule=$((h / 2 + h / 5 + points))
    convert -size "${h}x${w}" gradient:'#fdf8f3'-'#ead6dd' -rotate -90 \
        \( "$work/plum.png" -background none -rotate -20 -resize "${size}x" \
           -channel A -evaluate multiply 0.12 +channel \) \
        -gravity northeast -geometry +$((w / 12))+$((h / 12)) -compose over -composite \
        -gravity center -font "$font" -fill '#8a4a6640' -pointsize "$points" -annotate +0+$((h / 5)) "$title" \
        -fill '#b08a5c66' -draw "rectangle $((w / 4)),$rule $((w * 3 / 4)),$rule" \
        -quality 86 -strip "$out/main$w.jpg"
}
background 800 555
background 1024 700

# About box, 400x250: the lower half is left for its text lines.
convert -size 250x400 gradient:'#2a1330'-'#5a2744' -rotate -90 \
    -fill none -stroke '#e8c48e' -strokewidth 2 -draw "circle 70,78 70,30" \
    \( "$work/gold.png" -background none -resize 56x \
       -channel A -evaluate multiply 0.9 +channel \) -gravity northwest -geometry +42+44 -compose over -composite \
    -stroke none -font "$font" -fill '#fff6ea' -pointsize 19 -annotate +134+52 "$title" \
    -fill '#e8c48e' -pointsize 10 -annotate +135+84 "$subtitle" \
    -fill '#e8c48e88' -draw "rectangle 24,142 376,142" \
    -quality 88 -strip "$out/about.jpg"
