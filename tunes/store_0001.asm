; Init and play leave code at $0001 before their RTS, so the return does not
; stop there: execution goes on at $0001 with "STA $D418" and halts at the
; BRK ($00) at $0004. The stored A tells which routine ran on: $5A after
; init (which itself never stores to $D418), $A5 after each play call.
        .include "psid.inc"
        #psid_header $1000, init, play, 1, 1, PSID_SPEED_CIA, "Store 0001", "Quavix developers", "Quavix test fixture"

        .logical $1000
init    lda #$8d                ; STA absolute
        sta $0001
        lda #<$d418
        sta $0002
        lda #>$d418
        sta $0003
        lda #$00                ; BRK
        sta $0004
        lda #$5a
        rts

play    lda #$a5
        rts
        .here
