; Init and play each read every SID register $D400-$D418 and store back the
; byte read OR a value of their own: init $80 + n, play $40 + n for register
; n. The SID keeps no readable copy, so the reads give the zero bytes of
; memory and, after one tick, register n holds exactly $40 + n ($C0 + n would
; mean that a read returned the image).
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "All Registers", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #$80
        bne fill                ; always
play    lda #$40
fill    sta mark
        ldx #24
next    txa
        ora mark
        ora $d400,x
        sta $d400,x
        dex
        bpl next
        rts

mark    .byte 0
        .here
