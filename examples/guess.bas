10 REM Guess the number: the computer thinks of a number from 1 to 100.
20 PRINT "GUESS THE NUMBER"
30 INPUT "Type any whole number to shuffle: "; S
40 REM RND starts its sequence anew in every run; drawing S numbers first
50 REM makes each game different.
60 FOR I = 1 TO S: X = RND: NEXT
70 SECRET = INT(RND * 100) + 1: TRIES = 0
80 PRINT "I am thinking of a number from 1 to 100."
90 INPUT "Your guess: "; G
100 TRIES = TRIES + 1
110 IF G < SECRET THEN PRINT "Too low.": GOTO 90
120 IF G > SECRET THEN PRINT "Too high.": GOTO 90
130 PRINT "Right! You needed "; STR$(TRIES); " tries."
140 INPUT "Play again (Y/N)? "; A$
150 IF A$ = "Y" OR A$ = "y" THEN 70
160 PRINT "Thanks for playing."
