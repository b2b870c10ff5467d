REM Variable names: case-sensitive, cut to 20 characters, and a $ past the 20th makes no string.
A = 1: a = 2: A$ = "three": PRINT A; a; A$
ABCDEFGHIJKLMNOPQRSTUVWXY = 5: PRINT ABCDEFGHIJKLMNOPQRST; ABCDEFGHIJKLMNOPQRSTZZZ
ABCDEFGHIJKLMNOPQRST$ = 7: PRINT ABCDEFGHIJKLMNOPQRST
abcdefghijklmnopqrs$ = "a string at 20": PRINT abcdefghijklmnopqrs$
