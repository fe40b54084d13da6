; A loop shaped like a music routine's play call: for each of three voices it
; reads note data through table lookups and indexed modes, steps a frequency
; with ADC, calls a subroutine and stores into the SID registers through the
; write hook. It never halts: the benchmark's budget ends each run.

voice   = $f0
freq    = $f2                   ; two bytes
pointer = $f4

        * = $1000
play    ldx #0
        stx voice
_voice  lda offsets,x
        tay
        lda notes,x
        jsr step
        sta $d400,y
        lda freq+1
        sta $d401,y
        lda #<pulses
        sta pointer
        lda #>pulses
        sta pointer+1
        lda (pointer),y
        sta $d402,y
        lda #$41
        sta $d404,y
        inc voice
        ldx voice
        cpx #3
        bne _voice
        jmp play

; freq = freq + the note in A, returns the low byte
step    clc
        adc freq
        sta freq
        lda freq+1
        adc #0
        and #$3f
        sta freq+1
        lda freq
        rts

offsets .byte 0, 7, 14
notes   .byte $11, $25, $3a
pulses  .fill 21, $08
