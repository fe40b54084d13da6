; One steady note: voice 1 plays a triangle at $1D45, 440 Hz on a PAL C64
; (7493 x 985248 / 2^24), at full sustain and volume, from init onwards.
; The play routine changes nothing.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_VBLANK, "Tone", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #$0f
        sta $d418               ; volume
        lda #$45
        sta $d400
        lda #$1d
        sta $d401               ; frequency $1D45
        lda #$00
        sta $d405               ; attack and decay: fastest
        lda #$f0
        sta $d406               ; sustain: full, release: fastest
        lda #$11
        sta $d404               ; triangle, gate on
play    rts
        .here
