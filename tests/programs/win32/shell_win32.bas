REM Shell on Windows, in any letter case: exit codes, arguments of the wrong kind or number, parameters, output relayed, COMMON values to children, bound children.
10 PRINT "printed before the first child"
20 X = Shell("cmd /c exit 3")
30 PRINT "cmd exited with"; X
40 Shell("cmd /c echo hello from cmd")
50 Shell "cmd /c echo the statement form"
60 REM Blanks before the name are skipped; the parameters go unchanged.
70 PRINT "exit"; Shell("   cmd /c ""echo quoted parameters"" & exit 5")
80 REM COMMON values reach children; the others see this environment.
90 COMMON N, S$, T
100 N = 3: S$ = "text with blanks": T = 1 / 3
110 Shell("cmd /c echo N=%N% S=%S% T=%T%")
120 Shell("child_common")
130 S$ = "inherited": Shell("child_clears_win32")
140 Shell("cmd /c if defined PATH echo PATH is passed on")
145 Shell("child_high")
146 REM A bound child that reported an error ends with 1; STOP is no error.
147 PRINT "exit codes"; Shell("child_fails"); Shell("child_stops")
150 PRINT "done"
Shell "no_such_program_xyz"
Shell "notes.txt"
Shell "cmd /c echo one factor, then" + " the end check"
Shell "notepad"
Shell("child_common" + CHR$(0) + ".exe")
Shell("cmd /c echo cut" + CHR$(0) + "off")
X = SHELL(5)
PRINT shell
shell ("a", "b")
