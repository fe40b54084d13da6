; Plays nine ticks, then the tenth play call never returns: the fault falls
; in the middle of a later stretch of output, not at its start.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_VBLANK, "Late Fault", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #0
        sta calls
        rts
play    inc calls
        lda calls
        cmp #10
        beq hang
        rts
hang    jmp hang

calls   .byte 0
        .here
