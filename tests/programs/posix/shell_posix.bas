REM Shell on Linux, in any letter case: exit codes, a killed child's among them, arguments of the wrong kind or number, output relayed, COMMON values to children, bound children.
1 REM not a program
SAVE "plain.txt"
NEW
Shell "no_such_program_xyz"
Shell "echo one factor, then" + " the end check"
Shell "./no_such_program_xyz"
Shell "./plain.txt"
Shell "/"
Shell("./child_common" + CHR$(0) + "x")
Shell("sh -c ""echo cut" + CHR$(0) + "off""")
X = SHELL(5)
PRINT shell
shell ("a", "b")
10 PRINT "printed before the first child"
20 X = Shell("sh -c ""exit 3""")
30 PRINT "sh exited with"; X
40 PRINT "false gives"; Shell("false"); "and true gives"; Shell("true")
45 PRINT "killed by TERM gives"; Shell("sh -c ""kill -TERM $$""")
50 REM Arguments split at blanks; quotes group, "" inside quotes is a quote.
60 Shell("printf ""[%s]"" one ""two three"" ""a""""b"" '$HOME' *")
70 PRINT
80 REM Output is relayed unchanged, also without a final line end.
90 Shell "echo the statement form"
100 X = Shell("sh -c ""printf 'no line end'; exit 7""")
110 PRINT " /"; X
120 REM Blanks before the name are skipped; input is at its end at once.
130 PRINT "cat read"; Shell("   sh -c ""cat; echo done reading""")
140 REM COMMON values reach children; the others see this environment.
150 COMMON N, S$, T
160 N = 3: S$ = "text with blanks": T = 1 / 3
170 Shell("sh -c ""echo N=$N S=$S T=$T""")
180 Shell("./child_common")
190 S$ = "inherited": Shell("./child_clears_posix")
200 Shell("sh -c ""test -n $PATH && echo PATH is passed on""")
205 Shell("./child_high")
206 REM A bound child that reported an error ends with 1; STOP is no error.
207 PRINT "exit codes"; Shell("./child_fails"); Shell("./child_stops")
210 PRINT "done"
