REM Expression errors of immediate lines, each case printed and then assigned: arithmetic faults, wrong kinds, malformed text, function errors.
REM Arithmetic faults, each printed and then assigned; kinds are looked at only after the right operand.
PRINT 1/0
X = 1/0
PRINT 0/0
X = 0/0
PRINT 0^0
X = 0^0
PRINT 0^2
X = 0^2
PRINT 10^400
X = 10^400
PRINT (-8)^0.5
X = (-8)^0.5
PRINT (-2)^1E30
X = (-2)^1E30
PRINT 5 MOD 0.4
X = 5 MOD 0.4
PRINT 1E308*10
X = 1E308*10
PRINT -1E308-1E308
X = -1E308-1E308
PRINT 1E300 AND 1
X = 1E300 AND 1
PRINT 1E19 MOD 2
X = 1E19 MOD 2
PRINT "A" - 1/0
X = "A" - 1/0
PRINT "A" < 1/0
X = "A" < 1/0
PRINT "A" ^ (1/0)
X = "A" ^ (1/0)
REM Operands of the wrong kind.
PRINT "A" - "B"
X = "A" - "B"
PRINT "A" * 2
X = "A" * 2
PRINT 2 / "A"
X = 2 / "A"
PRINT "A" MOD 2
X = "A" MOD 2
PRINT "A" = 1
X = "A" = 1
PRINT 1 + "A"
X = 1 + "A"
PRINT "A" AND 1
X = "A" AND 1
PRINT 1 OR "A"
X = 1 OR "A"
PRINT 1 XOR "A"
X = 1 XOR "A"
PRINT 1 < 2 < "A"
X = 1 < 2 < "A"
PRINT 2 ^ "A"
X = 2 ^ "A"
REM Malformed expressions.
X =
PRINT 2+
X = 2+
PRINT (1
X = (1
PRINT (1,2)
X = (1,2)
PRINT *2
X = *2
PRINT 1 AND
X = 1 AND
PRINT 1 < >
X = 1 < >
PRINT THEN
X = THEN
REM Faults and errors of the built-in functions.
PRINT SQRT(-1)
X = SQRT(-1)
PRINT LOG(0)
X = LOG(0)
PRINT LOG(-1)
X = LOG(-1)
PRINT EXP(710)
X = EXP(710)
PRINT INT(2^63)
X = INT(2^63)
PRINT SQR(1E200)
X = SQR(1E200)
PRINT SIN("A")
X = SIN("A")
PRINT LEN(5)
X = LEN(5)
PRINT -"A"
X = -"A"
PRINT NOT "A"
X = NOT "A"
PRINT VAL(1)
X = VAL(1)
PRINT SIN
X = SIN
PRINT RND((1)
X = RND((1)
PRINT RND(1 : 2)
X = RND(1 : 2)
PRINT REM
X = REM
PRINT #
X = #
PRINT VAL("1 +")
X = VAL("1 +")
PRINT CHR$(1E19)
X$ = CHR$(1E19)
PRINT STR$("1")
X$ = STR$("1")
PRINT MID$(5, 1)
X$ = MID$(5, 1)
PRINT MID$("A")
X$ = MID$("A")
PRINT MID$("A", 1
X$ = MID$("A", 1
PRINT MID$("A", 1, 2, 3)
X$ = MID$("A", 1, 2, 3)
PRINT 1 + VAL("1/0") + 1
X = 1 + VAL("1/0") + 1
