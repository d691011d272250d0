#!/usr/bin/env bash
# Renders the README's icon gallery with the native lumivex-icon (build the native preset first) into docs/icons
# and prints the Markdown table.
set -euo pipefail
cd "$(dirname "$0")/.."
icon=build/native/bin/lumivex-icon
out=docs/icons
mkdir -p "$out"
GiB=1073741824
MiB=1048576
# name | load | used physical bytes | settings | what it shows
gallery=(
    "default|45|$((GiB * 361 / 100))||Used physical memory in gigabytes (the defaults)"
    "percent-outline|45|0|ShowPercentage=1 NoBorder=0|Load in percent, gauge in its outline"
    "percent-sign|100|0|ShowPercentage=1 ShowPercSign=1 NoBorder=0|100% in four small digits"
    "transparent|72|0|ShowPercentage=1 TransBk=1|Transparent background, full-width gauge"
    "bar-bottom|93|0|ShowPercentage=1 BarBottom=1 NoBorder=0|Gauge at the bottom, red from RedPercent"
    "standard-gauge|60|0|ShowPercentage=1 StandardGauge=1 NoBorder=0|Segmented gauge"
    "full-bar|30|0|ShowPercentage=1 FullBar=1 FullBarColor=C0C0C0|Full bar behind the gauge"
    "mini|57|0|ShowPercentage=1 MiniInternalFont=1|Mini digits"
    "megabytes|40|$((MiB * 3700))|OptimizeForGigabytes=0|Used memory in megabytes"
    "megabytes-5-digits|60|$((GiB * 16))|OptimizeForGigabytes=0|16384 MB: five digits do not fit, shown as 16.0 (GB)"
    "free|70|$((GiB * 561 / 100))|ShowFree=1|Free physical memory in gigabytes"
    "colours|85|0|ShowPercentage=1 NoBorder=0 OpaqueBkColor=202020 BarBorderColor=808080 YellowColor=FF8000 Color=16777215|A dark theme, white figures"
)
echo "| Icon | Settings | What it shows |"
echo "|---|---|---|"
for entry in "${gallery[@]}"; do
    IFS='|' read -r name load used settings what <<<"$entry"
    total=$((GiB * 8))
    [ "$used" -gt "$total" ] && total=$((used * 2))
    args=(--load "$load" --total-phys "$total" --avail-phys $((total - used)) --total-page $((total * 2))
        --avail-page "$total" --png "$out/$name.png" --scale 4)
    for s in $settings; do args+=(--set "$s"); done
    "$icon" "${args[@]}" >/dev/null
    echo "| ![$name](docs/icons/$name.png) | \`${settings:-(defaults)}\` | $what |"
done

# Three looks at the notification area's icon sizes of 100, 125, 150 and 200 % scaling, each pixel 4 x 4.
echo
echo "| Look | 100 % (16 px) | 125 % (20 px) | 150 % (24 px) | 200 % (32 px) |"
echo "|---|---|---|---|---|"
scaled=(
    "default|45|$((GiB * 361 / 100))||Gigabytes (the defaults)"
    "percent-outline|45|0|ShowPercentage=1 NoBorder=0|Percent, outline"
    "bar-bottom|93|0|ShowPercentage=1 BarBottom=1 NoBorder=0 StandardGauge=1|Segmented gauge at the bottom"
)
for entry in "${scaled[@]}"; do
    IFS='|' read -r name load used settings what <<<"$entry"
    total=$((GiB * 8))
    line="| $what \`${settings:-(defaults)}\` |"
    for size in 16 20 24 32; do
        args=(--load "$load" --total-phys "$total" --avail-phys $((total - used)) --total-page $((total * 2))
            --avail-page "$total" --size "$size" --png "$out/$name-$size.png" --scale 4)
        for s in $settings; do args+=(--set "$s"); done
        "$icon" "${args[@]}" >/dev/null
        line+=" ![$name at $size px](docs/icons/$name-$size.png) |"
    done
    echo "$line"
done
