; A play routine that never returns: init succeeds, the first play call runs
; out of its instruction budget and the player reports a CPU fault.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "Play Loops", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    rts
play    jmp play
        .here
