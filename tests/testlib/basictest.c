/* The library the DECLARE test programs call: integers and strings by value
   and by reference, string results, and on Windows a function of the C
   convention that a program declares as if it were stdcall. */
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#ifdef _WIN32
#define BT_EXPORT __declspec(dllexport)
#define BT_CALL __stdcall
#else
#define BT_EXPORT __attribute__((visibility("default")))
#define BT_CALL
#endif

BT_EXPORT int32_t BT_CALL bt_identity(int32_t x) { return x; }

BT_EXPORT int32_t BT_CALL bt_answer(void) { return 42; }

/* The argument order shows: six digits in the order given. */
BT_EXPORT int32_t BT_CALL bt_digits(int32_t a, int32_t b, int32_t c, int32_t d, int32_t e,
                                    int32_t f) {
  return ((((a * 10 + b) * 10 + c) * 10 + d) * 10 + e) * 10 + f;
}

/* -1 for a nil pointer (the empty string by value), else the length. */
BT_EXPORT int32_t BT_CALL bt_length(const char* s) { return s ? (int32_t)strlen(s) : -1; }

/* Writes into a by-value copy; the caller's string must not change. */
BT_EXPORT int32_t BT_CALL bt_scribble(char* s) {
  if (s == NULL) return 0;
  memset(s, '#', strlen(s));
  return 1;
}

static int32_t last_note;

BT_EXPORT void BT_CALL bt_note(int32_t x) { last_note = x; }

BT_EXPORT int32_t BT_CALL bt_last_note(void) { return last_note; }

/* By reference: doubles the integer, returns the old value. */
BT_EXPORT int32_t BT_CALL bt_double(int32_t* x) {
  int32_t old = *x;
  *x = old * 2;
  return old;
}

/* By reference: reverses the string in place, returns its length. */
BT_EXPORT int32_t BT_CALL bt_reverse(char* s) {
  size_t n = strlen(s);
  for (size_t i = 0; i < n / 2; ++i) {
    char c = s[i];
    s[i] = s[n - 1 - i];
    s[n - 1 - i] = c;
  }
  return (int32_t)n;
}

/* By reference: cuts the string at position n (0-based) with a NUL. */
BT_EXPORT void BT_CALL bt_cut(char* s, int32_t n) {
  if (n >= 0 && (size_t)n < strlen(s)) s[n] = '\0';
}

/* String results: the first argument is the caller's result slot. */
static char greeting[64];

BT_EXPORT void BT_CALL bt_greet(char** result, const char* name) {
  snprintf(greeting, sizeof greeting, "Hello, %s!", name ? name : "nobody");
  *result = greeting;
}

BT_EXPORT void BT_CALL bt_nothing(char** result) { (void)result; }

/* Faults, as a wrongly declared or buggy function does: a write through a
   null pointer, and a recursion that uses up the stack. */
/* Not instrumented: the sanitizers would report the store instead of
   letting it fault. */
__attribute__((no_sanitize("address", "undefined")))
BT_EXPORT int32_t BT_CALL bt_crash(int32_t x) {
  volatile int32_t* nowhere = NULL;
  *nowhere = x;
  return x;
}

BT_EXPORT int32_t BT_CALL bt_overflow(int32_t depth) {
  volatile char frame[4096];
  frame[0] = (char)depth;
  if (depth < 0) return 0; /* never: the stack ends long before */
  return bt_overflow(depth + 1) + frame[0];
}

#ifdef _WIN32
/* The C convention: the caller removes the arguments. Declared in BASIC as
   if it were stdcall, so nobody does, and the interpreter must cope. */
BT_EXPORT int32_t __cdecl bt_cdecl_add(int32_t a, int32_t b) { return a + b; }
#endif
