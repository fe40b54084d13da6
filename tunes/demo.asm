; Quavix Demo: three arrangements of public-domain melodies for the three SID
; voices, each song at its own play rate:
;   song 1  "Korobeiniki" (Russian folk song), CIA timer A at 50 Hz
;   song 2  "In the Hall of the Mountain King" (Grieg), CIA timer A at 100 Hz
;   song 3  "Greensleeves" (English traditional), timer untouched: 60 Hz
;
; One source gives three files, chosen with -D OUTPUT=n, so that the PSID
; file and the SIDPLAY info-file pair always carry the same code.
;
; The player is data driven. Each voice follows an order list of patterns;
; a pattern is a byte stream of notes, note lengths, instrument changes and
; rests. All voices advance one row every `speed` play calls; each song sets
; its speed for its own play rate, so the tempo is the same in real time.

PSID_FILE = 0                   ; the PSID file
PAIR_DATA = 1                   ; the pair's .DAT file: the raw C64 bytes
PAIR_TEXT = 2                   ; the pair's .SID file: the info text
        .weak
OUTPUT  = PSID_FILE
        .endweak

LOAD    = $1000
SONGS   = 3
TITLE   = "Quavix Demo"
AUTHOR  = "Quavix developers"
RELEASE = "2026 Quavix developers"

        .include "psid.inc"

        .if OUTPUT == PSID_FILE
        #psid_header LOAD, initEntry, playEntry, SONGS, 1, %111, TITLE, AUTHOR, RELEASE
        .elsif OUTPUT == PAIR_TEXT
        .text "SIDPLAY INFOFILE", 10
        .text format("ADDRESS=%04X,%04X,%04X", LOAD, initEntry, playEntry), 10
        .text format("SONGS=%d,1", SONGS), 10
        .text "SPEED=1", 10     ; not the vertical blank: the CIA timer applies
        .text "NAME=", TITLE, 10
        .text "AUTHOR=", AUTHOR, 10
        .text "COPYRIGHT=", RELEASE, 10
        .fi

        .if OUTPUT == PAIR_TEXT
        .virtual LOAD
        .dsection tune
        .endv
        .else
        .logical LOAD
        .dsection tune
        .here
        .fi

; Pattern bytes.
                                ; $00-$5F: a note, plus the voice's transpose
DUR     = $60                   ; DUR + n - 1: following notes last n rows
INS     = $80                   ; INS + i: following notes use instrument i
REST    = $a0                   ; gate off for the note length
END     = $ff                   ; end of pattern: the next in the order list

; Order list bytes.
TRANS   = $a0                   ; TRANS + t (t = -32..31): set transpose
LOOP    = $ff                   ; LOOP, position: go on at that entry

; Instrument fields, ten bytes per instrument.
I_CTRL1 = 0                     ; control register on a note's first tick
I_CTRL2 = 1                     ; control register from the second tick on
I_AD    = 2                     ; attack/decay
I_SR    = 3                     ; sustain/release
I_PW    = 4                     ; pulse width high byte at the note's start
I_PWSTEP = 5                    ; pulse width change per tick, bouncing
I_SLIDE = 6                     ; change of the frequency high byte, signed
I_GATE  = 7                     ; gate off this many ticks before the end
I_VIBWAIT = 8                   ; ticks before the vibrato sets in
I_VIBDEPTH = 9                  ; vibrato of F / 2^depth; 0 for none

PW_TOP  = $0e                   ; the sweep turns at these high bytes
PW_BOTTOM = $02

ptr     = $fb                   ; pattern or order list being read

; Note numbers: C-0 is 0, A-4 (440 Hz) is 57.
c0 = 0
cs0 = 1
d0 = 2
ds0 = 3
e0 = 4
f0 = 5
fs0 = 6
g0 = 7
gs0 = 8
a0 = 9
as0 = 10
b0 = 11
c1 = 12
cs1 = 13
d1 = 14
ds1 = 15
e1 = 16
f1 = 17
fs1 = 18
g1 = 19
gs1 = 20
a1 = 21
as1 = 22
b1 = 23
c2 = 24
cs2 = 25
d2 = 26
ds2 = 27
e2 = 28
f2 = 29
fs2 = 30
g2 = 31
gs2 = 32
a2 = 33
as2 = 34
b2 = 35
c3 = 36
cs3 = 37
d3 = 38
ds3 = 39
e3 = 40
f3 = 41
fs3 = 42
g3 = 43
gs3 = 44
a3 = 45
as3 = 46
b3 = 47
c4 = 48
cs4 = 49
d4 = 50
ds4 = 51
e4 = 52
f4 = 53
fs4 = 54
g4 = 55
gs4 = 56
a4 = 57
as4 = 58
b4 = 59
c5 = 60
cs5 = 61
d5 = 62
ds5 = 63
e5 = 64
f5 = 65
fs5 = 66
g5 = 67
gs5 = 68
a5 = 69
as5 = 70
b5 = 71
c6 = 72
cs6 = 73
d6 = 74
ds6 = 75
e6 = 76
f6 = 77
fs6 = 78
g6 = 79
gs6 = 80
a6 = 81
as6 = 82
b6 = 83
c7 = 84
cs7 = 85
d7 = 86
ds7 = 87
e7 = 88
f7 = 89

        .section tune
initEntry jmp init
playEntry jmp play

; A = song - 1. Songs out of range (start song 0 gives $FF) play song 1.
init    cmp #SONGS
        bcc +
        lda #0
+       sta song
        tax
        lda songSpeed,x
        sta speed
        lda #1
        sta rowTick
        lda songLatchHi,x       ; high byte first: no brief odd rate
        beq +
        sta $dc05
        lda songLatchLo,x
        sta $dc04
+       lda #0
        ldx #24
-       sta $d400,x
        dex
        bpl -
        lda #$0f                ; full volume, no filter
        sta $d418
        lda song                ; song * 6: its three order lists
        asl a
        adc song
        asl a
        sta temp
        ldx #0
-       ldy temp
        lda songOrders,y
        sta orderLo,x
        lda songOrders+1,y
        sta orderHi,x
        iny
        iny
        sty temp
        lda #0
        sta orderPos,x
        sta transpose,x
        sta instr,x
        sta ctrl,x
        sta pwLo,x
        sta pwHi,x
        sta pwDown,x
        sta vibWait,x
        sta vibPhase,x
        sta freqLo,x
        sta freqHi,x
        lda #$80
        sta noteTick,x
        lda #1
        sta rowsLeft,x
        sta length,x
        jsr nextPattern
        inx
        cpx #3
        bne -
        rts

play    dec rowTick
        bne ticks
        lda speed
        sta rowTick
        ldx #2
rows    dec rowsLeft,x
        bne +
        jsr readRow
+       dex
        bpl rows
ticks   ldx #2
-       jsr voiceTick
        dex
        bpl -
        rts

; Points voice x at its next pattern, taking transposes and loops on the way.
nextPattern
        lda orderLo,x
        sta ptr
        lda orderHi,x
        sta ptr+1
-       ldy orderPos,x
        lda (ptr),y
        inc orderPos,x
        cmp #LOOP
        bne +
        iny
        lda (ptr),y
        sta orderPos,x
        jmp -
+       cmp #TRANS - 32         ; below: a pattern number
        bcc +
        sbc #TRANS
        sta transpose,x
        jmp -
+       tay
        lda patternLo,y
        sta patLo,x
        lda patternHi,y
        sta patHi,x
        rts

; Reads voice x's pattern up to and including its next note or rest.
readRow lda patLo,x
        sta ptr
        lda patHi,x
        sta ptr+1
        ldy #0
next    lda (ptr),y
        iny
        cmp #END
        bne +
        jsr nextPattern
        jmp readRow
+       cmp #REST
        beq startRest
        bcs next                ; nothing else above REST
        cmp #INS
        bcc +
        and #$1f                ; times 10: 8i + 2i
        asl a
        sta temp
        asl a
        asl a
        adc temp
        sta instr,x
        jmp next
+       cmp #DUR
        bcc startNote
        and #$1f
        adc #0                  ; carry is set: n - 1 + 1
        sta length,x
        jmp next

startRest
        jsr advance
        lda ctrl,x
        and #$fe
        sta ctrl,x
        lda #$80                ; no second-tick waveform for a rest
        sta noteTick,x
        rts

startNote
        clc
        adc transpose,x
        sta noteNum,x
        jsr advance
        lda #0
        sta noteTick,x
        ldy noteNum,x
        lda noteFreqLo,y
        sta freqLo,x
        lda noteFreqHi,y
        sta freqHi,x
        ldy instr,x
        lda instruments+I_CTRL1,y
        sta ctrl,x
        lda instruments+I_PW,y
        sta pwHi,x
        lda #0
        sta pwLo,x
        sta pwDown,x
        sta vibPhase,x
        lda instruments+I_VIBWAIT,y
        sta vibWait,x
        rts

; Keeps the read position (ptr + y) and starts the note length.
advance tya
        clc
        adc ptr
        sta patLo,x
        lda ptr+1
        adc #0
        sta patHi,x
        lda length,x
        sta rowsLeft,x
        rts

; One tick of voice x: waveform change, slide, pulse sweep, gate, vibrato,
; then the SID registers. The SID keeps no readable copy, so all state lives
; here.
voiceTick
        ldy instr,x
        lda instruments+I_AD,y
        sta ad
        lda instruments+I_SR,y
        sta sr
        lda freqLo,x
        sta outLo
        lda freqHi,x
        sta outHi
        lda noteTick,x
        bmi gate
        cmp #2
        bcs slide
        cmp #1
        bne +
        lda instruments+I_CTRL2,y
        sta ctrl,x
+       inc noteTick,x
slide   lda instruments+I_SLIDE,y
        beq sweep
        clc
        adc freqHi,x
        sta freqHi,x
        beq +                   ; keep the slide above zero
        cmp #$c0
        bcc sweep
+       lda #1
        sta freqHi,x
sweep   lda instruments+I_PWSTEP,y
        beq gate
        sta temp
        lda pwDown,x
        bne down
        lda pwLo,x
        clc
        adc temp
        sta pwLo,x
        lda pwHi,x
        adc #0
        sta pwHi,x
        cmp #PW_TOP
        bcc gate
        inc pwDown,x
        bne gate                ; always
down    lda pwLo,x
        sec
        sbc temp
        sta pwLo,x
        lda pwHi,x
        sbc #0
        sta pwHi,x
        cmp #PW_BOTTOM
        bcs gate
        dec pwDown,x
gate    lda rowsLeft,x
        cmp #1
        bne vibrato
        lda instruments+I_GATE,y
        cmp rowTick
        bcc vibrato
        lda ctrl,x
        and #$fe
        sta ctrl,x
vibrato lda instruments+I_VIBDEPTH,y
        beq write
        sta temp
        lda noteTick,x
        bmi write
        lda vibWait,x
        beq +
        dec vibWait,x
        jmp write
+       lda freqHi,x            ; delta := F >> depth
        sta deltaHi
        lda freqLo,x
        sta deltaLo
-       lsr deltaHi
        ror deltaLo
        dec temp
        bne -
        inc vibPhase,x
        lda vibPhase,x
        and #7
        tay
        lda vibShape,y
        beq write
        sta temp
        lsr a                   ; even steps are two deltas
        bcs +
        asl deltaLo
        rol deltaHi
+       lda temp
        bmi below
        lda outLo
        clc
        adc deltaLo
        sta outLo
        lda outHi
        adc deltaHi
        sta outHi
        jmp write
below   lda outLo
        sec
        sbc deltaLo
        sta outLo
        lda outHi
        sbc deltaHi
        sta outHi
write   ldy voiceOffset,x
        lda ad
        sta $d405,y
        lda sr
        sta $d406,y
        lda pwLo,x
        sta $d402,y
        lda pwHi,x
        sta $d403,y
        lda ctrl,x
        sta $d404,y
        lda outLo               ; last, so a new gate keys on at this pitch
        sta $d400,y
        lda outHi
        sta $d401,y
        rts

voiceOffset .byte 0, 7, 14
; Vibrato steps in deltas, one per tick.
vibShape .char 0, 1, 2, 1, 0, -1, -2, -1

; PAL SID frequency of every note from C-0 on: F = Hz * 16777216 / 985248.
NOTES   = 90
noteFreqLo
        .for i = 0, i < NOTES, i += 1
        .byte <int(round(440.0 * 2 ** ((i - a4) / 12.0) * 16777216.0 / 985248.0))
        .next
noteFreqHi
        .for i = 0, i < NOTES, i += 1
        .byte >int(round(440.0 * 2 ** ((i - a4) / 12.0) * 16777216.0 / 985248.0))
        .next

; Player state.
song    .byte 0
speed   .byte 0
rowTick .byte 0                 ; play calls left in the current row
temp    .byte 0
ad      .byte 0
sr      .byte 0
outLo   .byte 0                 ; the frequency stored this tick
outHi   .byte 0
deltaLo .byte 0
deltaHi .byte 0
orderLo .fill 3
orderHi .fill 3
orderPos .fill 3
transpose .fill 3
patLo   .fill 3
patHi   .fill 3
length  .fill 3                 ; rows of the following notes
rowsLeft .fill 3
instr   .fill 3                 ; instrument number times 8
noteNum .fill 3
noteTick .fill 3                ; 0, 1, then 2 for a note; $80 for a rest
ctrl    .fill 3
freqLo  .fill 3
freqHi  .fill 3
pwLo    .fill 3
pwHi    .fill 3
pwDown  .fill 3
vibWait .fill 3
vibPhase .fill 3

; Songs: play calls per row, CIA timer A latch (0: left alone) and the
; order lists of voices 1-3.
songSpeed   .byte 10, 15, 15    ; a row is 200, 150 and 250 ms
songLatchLo .byte <19656, <9852, 0
songLatchHi .byte >19656, >9852, 0 ; 50 Hz, 100 Hz, (60 Hz)
songOrders  .word koroLead, koroBass, koroDrums
            .word hallLead, hallBass, hallDrums
            .word greenLead, greenHarmony, greenBass

; Instruments. The drums take their slide and the leads their vibrato per
; play call, so the songs have instruments of their own.
;             ctrl1 ctrl2  AD   SR   PW  PWstep slide gate vibwait vibdepth
instruments
            .byte $41, $41, $09, $a6, $04, $30, $00,  2,  12,  8 ; 0 pulse lead
            .byte $21, $21, $09, $40, $00, $00, $00,  1,   0,  0 ; 1 plucked saw bass
            .byte $81, $11, $08, $00, $00, $00, $fd,  1,   0,  0 ; 2 kick, 50 Hz, slide -3
            .byte $81, $81, $07, $00, $00, $00, $00,  1,   0,  0 ; 3 snare
            .byte $81, $81, $05, $00, $00, $00, $00,  1,   0,  0 ; 4 closed hat
            .byte $21, $21, $0a, $a8, $00, $00, $00,  2,  15,  8 ; 5 saw lead
            .byte $41, $41, $09, $20, $08, $18, $00,  3,   0,  0 ; 6 staccato pulse
            .byte $21, $21, $08, $97, $00, $00, $00,  3,   0,  0 ; 7 bright saw
            .byte $81, $11, $08, $00, $00, $00, $fe,  2,   0,  0 ; 8 kick, 100 Hz, slide -2
            .byte $41, $41, $07, $00, $06, $10, $00,  3,   0,  0 ; 9 pulse bass
            .byte $11, $11, $48, $a8, $00, $00, $00,  3,  20,  8 ; 10 soft triangle
            .byte $11, $11, $0a, $00, $00, $00, $00,  2,   0,  0 ; 11 plucked triangle
            .byte $41, $41, $2a, $39, $06, $0c, $00,  4,   0,  0 ; 12 slow pulse bass

; Note lengths in rows.
L1 = DUR
L2 = DUR + 1
L3 = DUR + 2
L4 = DUR + 3
L6 = DUR + 5
L8 = DUR + 7

; Drum sounds: instrument and pitch.
KICK = INS + 2, c4
KICK2 = INS + 8, c4
SNARE = INS + 3, g5
HAT = INS + 4, c7

patternLo   .byte <PATTERNS
patternHi   .byte >PATTERNS
PATTERNS = (koroA, koroB, bounce, beat, fill, hallA, hallB, pump, hats, beat2, fill2, useStaccato, useSaw, greenIntro, greenVerse, greenChorus, major, minor, root)
P_KORO_A = 0
P_KORO_B = 1
P_BOUNCE = 2
P_BEAT = 3
P_FILL = 4
P_HALL_A = 5
P_HALL_B = 6
P_PUMP = 7
P_HATS = 8
P_BEAT2 = 9
P_FILL2 = 10
P_USE_STACCATO = 11
P_USE_SAW = 12
P_GREEN_INTRO = 13
P_GREEN_VERSE = 14
P_GREEN_CHORUS = 15
P_MAJOR = 16
P_MINOR = 17
P_ROOT = 18

; Song 1: Korobeiniki. A row is an eighth note; form A A B A.
koroLead    .byte P_KORO_A, P_KORO_A, P_KORO_B, P_KORO_A, LOOP, 0
; Chords of the A part (E A E A D C E A) and of the B part (Am E x 4), as
; transposes of a bass figure on C.
T_E = TRANS + 4
T_A = TRANS - 3
T_D = TRANS + 2
T_C = TRANS + 0
koroBass    .byte T_E, P_BOUNCE, T_A, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte T_D, P_BOUNCE, T_C, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte T_E, P_BOUNCE, T_A, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte T_D, P_BOUNCE, T_C, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte T_A, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE, T_E, P_BOUNCE
            .byte T_A, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE, T_E, P_BOUNCE
            .byte T_E, P_BOUNCE, T_A, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte T_D, P_BOUNCE, T_C, P_BOUNCE, T_E, P_BOUNCE, T_A, P_BOUNCE
            .byte LOOP, 0
koroDrums   .byte P_BEAT, P_BEAT, P_BEAT, P_BEAT, P_BEAT, P_BEAT, P_BEAT, P_FILL
            .byte LOOP, 0

koroA       .byte INS + 0
            .byte L2, e5, L1, b4, c5, L2, d5, L1, c5, b4
            .byte L2, a4, L1, a4, c5, L2, e5, L1, d5, c5
            .byte L3, b4, L1, c5, L2, d5, e5
            .byte L2, c5, a4, a4, REST
            .byte L1, REST, L2, d5, L1, f5, L2, a5, L1, g5, f5
            .byte L3, e5, L1, c5, L2, e5, L1, d5, c5
            .byte L2, b4, L1, b4, c5, L2, d5, e5
            .byte L2, c5, a4, a4, REST
            .byte END
koroB       .byte INS + 5
            .byte L4, e5, c5, d5, b4, c5, a4, gs4, b4
            .byte L4, e5, c5, d5, b4, L2, c5, e5, L4, a5, L8, gs5
            .byte END
bounce      .byte INS + 1, L1, c2, c3, c2, c3, c2, c3, c2, c3, END
beat        .byte L1, KICK, HAT, SNARE, HAT, KICK, KICK, SNARE, HAT, END
fill        .byte L1, KICK, HAT, SNARE, HAT, SNARE, SNARE, SNARE, SNARE, END

; Song 2: In the Hall of the Mountain King. A row is an eighth note; the
; theme twice, then again an octave up with the drums.
hallLead    .byte P_USE_STACCATO, TRANS
            .byte P_HALL_A, P_HALL_A, P_HALL_B, P_HALL_A
            .byte P_USE_SAW, TRANS + 12
            .byte P_HALL_A, P_HALL_A, P_HALL_B, P_HALL_A
            .byte LOOP, 0
; A pedal on B under the theme, on F sharp under its answer.
T_B = TRANS - 1
T_FS = TRANS + 6
hallBass    .byte T_B, P_PUMP, P_PUMP, P_PUMP, P_PUMP, P_PUMP, P_PUMP, P_PUMP, P_PUMP
            .byte T_FS, P_PUMP, P_PUMP, P_PUMP, P_PUMP
            .byte T_B, P_PUMP, P_PUMP, P_PUMP, P_PUMP
            .byte LOOP, 0
hallDrums   .byte P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS
            .byte P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS, P_HATS
            .byte P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_FILL2
            .byte P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_BEAT2, P_FILL2
            .byte LOOP, 0

useStaccato .byte INS + 6, END
useSaw      .byte INS + 7, END
hallA       .byte L1, b3, cs4, d4, e4, fs4, d4, L2, fs4
            .byte L1, f4, cs4, L2, f4, L1, e4, c4, L2, e4
            .byte L1, b3, cs4, d4, e4, fs4, d4, fs4, b4
            .byte L1, a4, fs4, d4, fs4, L4, a4
            .byte END
hallB       .byte L1, fs4, gs4, as4, b4, cs5, as4, L2, cs5
            .byte L1, d5, as4, L2, d5, L1, cs5, as4, L2, cs5
            .byte L1, fs4, gs4, as4, b4, cs5, as4, L2, cs5
            .byte L1, d5, as4, L2, d5, L4, cs5
            .byte END
pump        .byte INS + 9, L1, c2, REST, g2, REST, c2, REST, g2, REST, END
hats        .byte L1, HAT, HAT, HAT, HAT, HAT, HAT, HAT, HAT, END
beat2       .byte L1, KICK2, HAT, SNARE, HAT, KICK2, HAT, SNARE, HAT, END
fill2       .byte L1, KICK2, HAT, SNARE, HAT, SNARE, KICK2, SNARE, SNARE, END

; Song 3: Greensleeves. A row is an eighth note in 3/4 time; a pick-up, then
; verse and refrain over and over.
greenLead   .byte P_GREEN_INTRO, P_GREEN_VERSE, P_GREEN_CHORUS, LOOP, 1
; One chord a bar, as transposes of a figure on C (a minor or major one).
T_AM = TRANS - 3
T_C3 = TRANS + 0
T_G = TRANS - 5
T_EM = TRANS - 8
T_F = TRANS - 7
T_E3 = TRANS - 8
AM = T_AM, P_MINOR
C = T_C3, P_MAJOR
G = T_G, P_MAJOR
EM = T_EM, P_MINOR
F = T_F, P_MAJOR
E = T_E3, P_MAJOR
greenHarmony
            .byte AM
            .byte AM, C, G, EM, AM, F, E, E, AM, C, G, EM, AM, E, AM
            .byte C, G, G, EM, AM, F, E, E, C, G, G, EM, AM, E, AM
            .byte LOOP, 2
BASS_AM = T_AM, P_ROOT
BASS_C = T_C3, P_ROOT
BASS_G = T_G, P_ROOT
BASS_E = T_E3, P_ROOT
BASS_F = T_F, P_ROOT
greenBass   .byte BASS_AM
            .byte BASS_AM, BASS_C, BASS_G, BASS_E, BASS_AM, BASS_F, BASS_E, BASS_E
            .byte BASS_AM, BASS_C, BASS_G, BASS_E, BASS_AM, BASS_E, BASS_AM
            .byte BASS_C, BASS_G, BASS_G, BASS_E, BASS_AM, BASS_F, BASS_E, BASS_E
            .byte BASS_C, BASS_G, BASS_G, BASS_E, BASS_AM, BASS_E, BASS_AM
            .byte LOOP, 2

greenIntro  .byte INS + 10, L4, REST, L2, a4, END
greenVerse  .byte L4, c5, L2, d5, L3, e5, L1, f5, L2, e5
            .byte L4, d5, L2, b4, L3, g4, L1, a4, L2, b4
            .byte L4, c5, L2, a4, L3, a4, L1, gs4, L2, a4
            .byte L4, b4, L2, gs4, L4, e4, L2, a4
            .byte L4, c5, L2, d5, L3, e5, L1, f5, L2, e5
            .byte L4, d5, L2, b4, L3, g4, L1, a4, L2, b4
            .byte L3, c5, L1, b4, L2, a4, L3, gs4, L1, fs4, L2, gs4
            .byte L6, a4
            .byte END
greenChorus .byte L6, g5, L3, g5, L1, fs5, L2, e5
            .byte L4, d5, L2, b4, L3, g4, L1, a4, L2, b4
            .byte L4, c5, L2, a4, L3, a4, L1, gs4, L2, a4
            .byte L4, b4, L2, gs4, L6, e4
            .byte L6, g5, L3, g5, L1, fs5, L2, e5
            .byte L4, d5, L2, b4, L3, g4, L1, a4, L2, b4
            .byte L3, c5, L1, b4, L2, a4, L3, gs4, L1, fs4, L2, gs4
            .byte L4, a4, L2, a4
            .byte END
major       .byte INS + 11, L1, c3, g3, c4, e4, c4, g3, END
minor       .byte INS + 11, L1, c3, g3, c4, ds4, c4, g3, END
root        .byte INS + 12, L6, c2, END
        .send tune
