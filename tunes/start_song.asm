; Five songs with the start song START (assembled as start3 and start0): init
; stores A, the song number minus 1, at $C000, so a test sees which song init
; was asked for (2 for start song 3; $FF for start song 0).
        .include "psid.inc"
        #psid_header $1000, init, play, 5, START, PSID_SPEED_CIA, format("Start Song %d", START), "Quavix developers", "Quavix test fixture"

        .logical $1000
init    sta $c000
play    rts
        .here
