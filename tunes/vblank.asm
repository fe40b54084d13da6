; The vertical-blank speed wins over the CIA timer: the speed bit asks for
; 50 Hz while init programs timer A for 100 Hz (latch 9852).
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_VBLANK, "Vertical Blank", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #>9852
        sta $dc05
        lda #<9852
        sta $dc04
play    rts
        .here
