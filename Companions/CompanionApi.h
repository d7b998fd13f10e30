/* The plain C interface of Vantorel's companion libraries, Res.dll and Form.dll.
   The application loads them by file name from its own folder, only for one use at a time. */
#ifndef VANTOREL_COMPANION_API_H
#define VANTOREL_COMPANION_API_H

#include <stddef.h>

#if defined(__GNUC__)
#define VANTOREL_EXPORT __attribute__((visibility("default")))
#else
#define VANTOREL_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Res.dll ---------------------------------------------------------------------------------------- */

/* String resource numbers. Number 6 is not used. */
enum {
    RES_COMPANY = 0,
    RES_PRODUCT_NAME = 1,
    RES_EXTRA_INFO_1 = 2,
    RES_TITLE_SUFFIX = 3,
    RES_HOME_PAGE = 4,
    RES_EMAIL = 5,
    RES_EXTRA_INFO_2 = 7
};

/* Copies string resource `id` (UTF-8) into `buffer` of `bufferSize` bytes, terminator included, so at most
   bufferSize - 1 bytes of text; a cut never splits a character. Returns the number of bytes copied; 0 and
   an empty buffer for a string that does not exist. */
typedef int (*ResLoadStringFunc)(unsigned id, char* buffer, int bufferSize);
VANTOREL_EXPORT int ResLoadString(unsigned id, char* buffer, int bufferSize);

/* Finds the binary resource `name` of type `type` (compared without regard to ASCII case). Returns its
   bytes, which stay valid while the library is loaded, and their count in `size`; NULL when absent. */
typedef const unsigned char* (*ResFindResourceFunc)(const char* name, const char* type, size_t* size);
VANTOREL_EXPORT const unsigned char* ResFindResource(const char* name, const char* type, size_t* size);

/* Form.dll --------------------------------------------------------------------------------------- */

/* The product information shown in the About box; UTF-8 texts, none of them NULL. */
typedef struct TSoftInfoRecord {
    const char* Company;
    const char* ProductName;
    const char* ExtraInfo1;
    const char* TitleSuffix;
    const char* HomePage;
    const char* Email;
    const char* ExtraInfo2;
    const char* AppDir;
} TSoftInfoRecord;

/* Shows the modal About box and returns when the user has closed it. `application` is the running
   QApplication (the library draws with the application's toolkit); the record is passed by value. */
typedef void (*ShowAboutFormFunc)(void* application, TSoftInfoRecord info);
VANTOREL_EXPORT void ShowAboutForm(void* application, TSoftInfoRecord info);

#ifdef __cplusplus
}
#endif

#endif
