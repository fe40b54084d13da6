; The CIA rate: init writes timer A's latch low byte $25 first, then the high
; byte $40 (latch 16421), so the tune plays at 59 ticks per second.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "CIA 59 Hz", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #$25
        sta $dc04
        lda #$40
        sta $dc05
play    rts
        .here
