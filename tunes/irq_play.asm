; No play address in the header: init points the IRQ vector ($0314/$0315) at
; the play routine, which returns with RTI like an interrupt handler. After
; init SID register 1 holds $11; every play call stores its call count in
; register 0, so it holds 1 after one tick.
        .include "psid.inc"
        #psid_header $1000, init, 0, 1, 1, PSID_SPEED_CIA, "IRQ Play", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #<play
        sta $0314
        lda #>play
        sta $0315
        lda #$11
        sta $d401
        lda #0
        sta calls
        rts

; Not right after init, so that a player taking init's address as the play
; address is caught.
        .fill 16, $ea
play    inc calls
        lda calls
        sta $d400
        rti

calls   .byte 0
        .here
