; A small workout for the CPU: a shift-and-add multiply, a decimal-mode
; counter and a table copy through (zp),y. The results stay in memory.

multiplicand = $10
multiplier   = $11
product      = $12              ; two bytes, low first
counter      = $14              ; two bytes of packed decimal, low first
source       = $20
target       = $22

        * = $1000
        jsr multiply
        jsr count
        jsr copy
        brk

; product = $d7 * $3b
multiply
        lda #$d7
        sta multiplicand
        lda #$3b
        sta multiplier
        lda #0
        ldx #8
_bit    lsr multiplier
        bcc _shift
        clc
        adc multiplicand
_shift  ror a
        ror product
        dex
        bne _bit
        sta product+1
        rts

; counter = 1024, counted one by one in decimal mode
count
        sed
        lda #0
        sta counter
        sta counter+1
        ldy #4
        ldx #0
_step   clc
        lda counter
        adc #1
        sta counter
        lda counter+1
        adc #0
        sta counter+1
        dex
        bne _step
        dey
        bne _step
        cld
        rts

; the table to $3000
copy
        lda #<table
        sta source
        lda #>table
        sta source+1
        lda #<$3000
        sta target
        lda #>$3000
        sta target+1
        ldy #0
_byte   lda (source),y
        sta (target),y
        iny
        cpy #size(table)
        bne _byte
        rts

        .enc "ascii"            ; plain ASCII bytes, lower case kept
        .cdef " ~", 32
table   .text "quavix copies bytes through (zp),y"
