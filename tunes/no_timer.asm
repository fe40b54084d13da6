; The default rate: the speed bit asks for the CIA timer, but init never
; writes its latch, so the tune plays at 60 ticks per second.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "No Timer", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    rts
play    rts
        .here
