10 REM Bytes above 127, which a Windows parent converts from the OEM code page.
20 PRINT "high bytes ["; CHR$(130); CHR$(154); "]"
