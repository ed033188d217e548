#!/usr/bin/env bash
# Makes the WAV files of this folder with programs that other people use to
# write them: SoX, ffmpeg, libsndfile's sndfile-convert and Python's wave
# module (README.md names each version and command). The tests never run it:
# they read the files as committed, and need none of these programs.
#
# Every file holds the same 960 samples (0.02 s at 48000 Hz) of one signal,
# at 24 or 32 bits, except the file cut short, which holds the first 700 of
# them and the first byte of the 701st. The script checks that each program
# still writes the layout its file stands for, and, through ffmpeg, that each
# file holds exactly the samples of the signal.
#
# usage: tests/data/make_files.sh   (run from anywhere; writes into tests/data)
set -euo pipefail
cd "$(dirname "$0")"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# The signal: 1 kHz at half of full scale plus 2.1 kHz at a quarter, rounded
# to integers, as a canonical WAV file of $1 bits that the wave module writes.
signal() {
  python3 - "$1" "$2" <<'PYTHON'
import math, sys, wave
bits, name = int(sys.argv[1]), sys.argv[2]
full = 1 << (bits - 1)
def sample(i):
    t = 2 * math.pi * i / 48000
    return round(full * (0.5 * math.sin(1000 * t) + 0.25 * math.sin(2100 * t)))
with wave.open(name, "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(bits // 8)
    out.setframerate(48000)
    out.writeframes(b"".join(sample(i).to_bytes(bits // 8, "little", signed=True) for i in range(960)))
PYTHON
}

# Fails unless file $1 holds the bytes $3 (hexadecimal, no blanks) at offset $2.
holds() {
  local found
  found=$(od -An -tx1 -v -j "$2" -N $((${#3} / 2)) "$1" | tr -d ' \n')
  [[ "$found" == "$3" ]] || { echo "$1: $found at offset $2, expected $3" >&2; exit 1; }
}

signal 24 "$scratch/signal-24.wav"
signal 32 python-32bit.wav
tail -c +45 "$scratch/signal-24.wav" > "$scratch/signal-24.raw"

sox "$scratch/signal-24.wav" sox-24bit-extensible-fact.wav
# Raw samples from a pipe have no length, and a pipe cannot be rewound to
# fill one in: SoX writes its placeholder sizes.
cat "$scratch/signal-24.raw" | sox -V1 -t raw -r 48000 -e signed-integer -b 24 -c 1 -L - -t wav - | cat > sox-24bit-pipe.wav
# A SoX file that lost its end: its 80-byte header, 700 samples and 1 byte.
sox "$scratch/signal-24.wav" "$scratch/whole.wav"
head -c $((80 + 700 * 3 + 1)) "$scratch/whole.wav" > sox-24bit-cut-short.wav

ffmpeg -nostdin -v error -i python-32bit.wav -c:a pcm_s32le -y ffmpeg-32bit-extensible-list.wav
ffmpeg -nostdin -v error -i "$scratch/signal-24.wav" -c:a pcm_s24le -f wav - | cat > ffmpeg-24bit-pipe.wav
ffmpeg -nostdin -v error -i python-32bit.wav -c:a pcm_s32le -rf64 always -y ffmpeg-32bit-rf64.wav

# sndfile-convert takes the container from the output name's extension.
sndfile-convert -pcm24 "$scratch/signal-24.wav" libsndfile-24bit.wav
sndfile-convert -pcm32 python-32bit.wav "$scratch/out.wavex"
mv "$scratch/out.wavex" libsndfile-32bit-wavex.wav
sndfile-convert -pcm24 "$scratch/signal-24.wav" "$scratch/out.rf64"
mv "$scratch/out.rf64" libsndfile-24bit-rf64.wav

# The layout each file stands for.
holds python-32bit.wav 20 0100                           # PCM, data at 44
holds libsndfile-24bit.wav 20 0100                       # PCM, data at 44
holds sox-24bit-extensible-fact.wav 20 feff              # extensible
holds sox-24bit-extensible-fact.wav 60 66616374          # "fact"
holds sox-24bit-pipe.wav 72 64617461ffefff7f             # data size 0x7FFFEFFF
holds ffmpeg-32bit-extensible-list.wav 60 4c495354       # "LIST"
holds ffmpeg-24bit-pipe.wav 4 ffffffff                   # RIFF size 0xFFFFFFFF
holds ffmpeg-24bit-pipe.wav 94 64617461ffffffff          # data size 0xFFFFFFFF
holds ffmpeg-32bit-rf64.wav 0 52463634ffffffff5741564564733634
holds libsndfile-32bit-wavex.wav 20 feff
holds libsndfile-24bit-rf64.wav 0 52463634ffffffff5741564564733634
holds libsndfile-24bit-rf64.wav 96 64617461ffffffff

# The samples each file holds, as ffmpeg reads them.
ffmpeg -nostdin -v error -i python-32bit.wav -f s32le - > "$scratch/signal-32.raw"
for file in *.wav; do
  bits=${file#*-}
  bits=${bits%%bit*}
  expected="$scratch/signal-$bits.raw"
  [[ $file != *cut-short* ]] || { head -c $((700 * 3)) "$expected" > "$scratch/cut.raw" && expected="$scratch/cut.raw"; }
  ffmpeg -nostdin -v error -i "$file" -f "s${bits}le" - 2> /dev/null | cmp - "$expected" || { echo "$file: not the signal" >&2; exit 1; }
done
ls -l -- *.wav
