REM INPUT of strings: commas, blanks and quotes, a prompt, and a bad number.
10 INPUT A$, B$
20 PRINT A$;"|";B$
30 INPUT "Name"; N$
40 PRINT "Hi ";N$
50 INPUT A, B$
60 PRINT "not reached"
