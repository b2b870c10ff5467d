10 REM A$ = A$ + ... builds in place; shared values and literals stay as they were
20 FOR I = 1 TO 3
30 A$ = "AB"
40 A$ = A$ + "C"
50 PRINT A$;
60 NEXT I
70 PRINT
80 B$ = ""
90 FOR I = 1 TO 40
100 B$ = B$ + CHR$(64 + I MOD 26)
110 IF I = 10 THEN C$ = B$
120 NEXT I
130 PRINT B$
140 PRINT C$; LEN(C$)
150 D$ = "XY"
160 D$ = D$ + D$
170 D$ = D$ + D$ + "!"
180 PRINT D$
190 E$ = "E"
200 E$ = E$ + "F" + "G"
210 E$ = E$ + MID$("HIJ", 2, 1) + MID$(E$, 1, 1)
220 PRINT E$
230 IF E$ + "Z" = "EFGIEZ" THEN PRINT "COMPARED"
240 A$(1) = "P"
250 A$(1) = A$(1) + "Q"
260 PRINT A$(1)
RUN
S$ = "KEEP"
S$ = S$ + 5
PRINT S$
S$ = S$ + "X" * 2
PRINT S$
S$ = S$ + "A" = "B"
PRINT S$
S$ = S$ - "A"
PRINT S$
S$ = S$ + "!" 7
PRINT S$
S$ = S$ + (S$ + "?")
PRINT S$
