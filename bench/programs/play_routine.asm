; A play routine of the usual shape: each call steps the three voices'
; frequencies, sweeps their pulse widths, and every 16th call re-gates them.
; Called with the return address $0000 pushed, its RTS ends at the BRK at $0001.

tick    = $f0
sweep   = $f1

        * = $1000
play    inc tick
        ldx #0
_voice  lda offsets,x
        tay
        lda notes,x
        clc
        adc tick
        sta $d400,y
        lda #$1d
        sta $d401,y
        lda sweep
        sta $d402,y
        lda #$08
        sta $d403,y
        lda #$09
        sta $d405,y
        lda #$a5
        sta $d406,y
        lda tick
        and #$0f
        bne _held
        lda #$40
        sta $d404,y
_held   lda #$41
        sta $d404,y
        inx
        cpx #3
        bne _voice
        lda sweep
        adc #$10
        sta sweep
        rts

offsets .byte 0, 7, 14
notes   .byte $45, $10, $80
