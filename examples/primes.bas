10 REM The prime numbers up to 100, found with the sieve of Eratosthenes.
20 N = 100
30 DIM COMPOSITE(N)
40 FOR I = 2 TO SQRT(N)
50   IF COMPOSITE(I) THEN 70
60   FOR J = I * I TO N STEP I: COMPOSITE(J) = 1: NEXT J
70 NEXT I
80 REM Print them right-aligned, ten to a row.
90 FOR I = 2 TO N
100   IF COMPOSITE(I) THEN 130
110   R$ = STR$(I): PRINT MID$("     ", 1, 5 - LEN(R$)); R$;
120   COUNT = COUNT + 1: IF COUNT MOD 10 = 0 THEN PRINT
130 NEXT I
140 IF COUNT MOD 10 <> 0 THEN PRINT
150 PRINT "There are "; STR$(COUNT); " primes up to "; STR$(N); "."
