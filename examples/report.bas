10 REM A text report made with the string functions LEN, MID$, ASC, CHR$ and STR$.
20 T$ = "the quick brown fox jumps over the lazy dog"
30 TITLE$ = "TEXT REPORT": GOSUB 800
40 PRINT "Text:        "; T$
50 PRINT "Characters:  "; STR$(LEN(T$))
60 REM Split into words at the blanks; a blank added at the end closes the last.
70 W$ = "": S$ = T$ + " "
80 FOR I = 1 TO LEN(S$)
90   C$ = MID$(S$, I, 1)
100  IF C$ <> " " THEN W$ = W$ + C$: GOTO 130
110  WORDS = WORDS + 1: IF LEN(W$) > LEN(LONGEST$) THEN LONGEST$ = W$
120  W$ = ""
130 NEXT I
140 PRINT "Words:       "; STR$(WORDS)
150 PRINT "Longest:     "; LONGEST$; " ("; STR$(LEN(LONGEST$)); " letters)"
160 REM Capitals: a letter after a blank is made upper case through its code.
170 U$ = "": P$ = " "
180 FOR I = 1 TO LEN(T$)
190   C$ = MID$(T$, I, 1)
200   IF P$ = " " AND C$ >= "a" AND C$ <= "z" THEN C$ = CHR$(ASC(C$) - 32)
210   U$ = U$ + C$: P$ = C$
220 NEXT I
230 PRINT "Title case:  "; U$
240 R$ = "": FOR I = LEN(T$) TO 1 STEP -1: R$ = R$ + MID$(T$, I, 1): NEXT
250 PRINT "Backwards:   "; R$
260 REM Count the vowels.
270 FOR I = 1 TO LEN(T$)
280   C$ = MID$(T$, I, 1)
290   FOR K = 1 TO 5
300     IF MID$("aeiou", K, 1) = C$ THEN VOWELS = VOWELS + 1
310   NEXT K
320 NEXT I
330 PRINT "Vowels:      "; STR$(VOWELS)
340 END
800 REM Print TITLE$ centred over 40 columns and underlined.
810 PAD = INT((40 - LEN(TITLE$)) / 2)
820 PRINT MID$("                                        ", 1, PAD); TITLE$
830 L$ = "": FOR I = 1 TO 40: L$ = L$ + "=": NEXT: PRINT L$
840 RETURN
