; An init routine that never returns: song init runs out of its instruction
; budget and the player reports the failed init; the output stays silent.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "Init Loops", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    jmp init
play    rts
        .here
