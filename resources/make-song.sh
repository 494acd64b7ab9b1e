#!/usr/bin/env bash
# Renders score.txt into FlagSong.mp3: every note is a short sox tone with a
# soft attack and release, each voice is joined end to end, the voices are
# mixed, given a little room, normalised and encoded with lame.
#
# Usage: resources/make-song.sh   (needs sox and lame; works from any directory)
set -euo pipefail
cd "$(dirname "$0")"

rate=44100
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# -R keeps dither repeatable so the same score always gives the same file.
sx() { sox -R -V2 "$@"; }

# Turn the score into "voice samples freq..." lines. Note lengths come from
# rounded running positions, so the voices never drift apart.
awk -v rate="$rate" '
    function hz(name,   n, o, k) {
        n = index("C D EF G A B", substr(name, 1, 1)) - 1
        if (n < 0) { print "bad pitch: " name > "/dev/stderr"; exit 1 }
        k = 2
        if (substr(name, 2, 1) == "#") { n++; k++ }
        else if (substr(name, 2, 1) == "b") { n--; k++ }
        o = substr(name, k) + 0
        return sprintf("%.3f", 440 * 2 ^ ((12 * (o + 1) + n - 69) / 12))
    }
    { sub(/#.*/, "") }
    NF == 0 { next }
    $1 == "tempo" { spb = rate * 60 / $2; next }
    NF != 3 { print "bad line " NR ": " $0 > "/dev/stderr"; exit 1 }
    {
        if (!spb) { print "tempo must come first" > "/dev/stderr"; exit 1 }
        v = $1; start = pos[v]; pos[v] += $3
        len = int(pos[v] * spb + 0.5) - int(start * spb + 0.5)
        line = v " " len
        if ($2 != "r") {
            k = split($2, p, ",")
            for (i = 1; i <= k; i++) line = line " " hz(p[i])
        }
        print line
    }
    END {
        for (v in pos) {
            if (total == "") total = pos[v]
            if (pos[v] != total) { print "voices differ in length" > "/dev/stderr"; exit 1 }
        }
    }
' score.txt >"$tmp/notes"

# One tone per note. Melody: sine with some triangle for a mellow reed
# colour; bass: sine plus a faint octave so it carries on small speakers;
# pad: plain sines with a slow swell.
i=0
while read -r voice len freqs; do
    i=$((i + 1))
    out=$(printf '%s/%s-%04d.wav' "$tmp" "$voice" "$i")
    if [ -z "$freqs" ]; then
        sx -r "$rate" -c 1 -n "$out" trim 0 "${len}s"
        continue
    fi
    case $voice in
        m) tones=(sine "$freqs" triangle "$freqs"); mix=(remix 1v0.7,2v0.3)
           attack=0.03; release=$((len * 35 / 100)) ;;
        b) tones=(sine "$freqs" sine "$(awk -v f="$freqs" 'BEGIN { print 2 * f }')")
           mix=(remix 1v0.8,2v0.2)
           attack=0.05; release=$((len * 30 / 100)) ;;
        c) tones=(); for f in $freqs; do tones+=(sine "$f"); done; mix=(channels 1)
           attack=0.15; release=$((len * 35 / 100)) ;;
        *) echo "unknown voice: $voice" >&2; exit 1 ;;
    esac
    sx -r "$rate" -c $((${#tones[@]} / 2)) -n "$out" \
        synth "${len}s" "${tones[@]}" "${mix[@]}" fade q "$attack" "${len}s" "${release}s"
done <"$tmp/notes"

for voice in m b c; do
    sx "$tmp/$voice"-*.wav "$tmp/$voice.wav"
done

# Levels add up to less than full scale, so the mix itself cannot clip.
sx -m -v 0.45 "$tmp/m.wav" -v 0.28 "$tmp/b.wav" -v 0.22 "$tmp/c.wav" \
    -b 16 "$tmp/song.wav" pad 0 1.5 gain -3 reverb 30 50 60 gain -n -3

lame --quiet -V 4 -m m --tt "Flag Song of Tarnia" "$tmp/song.wav" FlagSong.mp3
