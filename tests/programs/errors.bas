REM Error reports of immediate lines and of lines refused on entry (short form); an error in a RUN does not end the text.
PRINT 1/0
X 5
PRINT 0/0
PRINT 5 MOD 0.4
PRINT 10^400
PRINT LOG(0);
PRINT SQRT(-1)
PRINT (-8)^(1/3)
PRINT "A" - "B"
PRINT "A" * 2
PRINT 1 + "A"
PRINT 1 2
PRINT )
STOP
FOO
THEN
10 PRINT 1E400
10 PRINT "A"
20 STOP
30 PRINT "B"
RUN
PRINT "the text goes on after the run"
