/* The library the DECLARE test programs call. */
int basictest_placeholder(void);
int basictest_placeholder(void) { return 0; }
