/* Res.dll: Vantorel's product texts and splash picture. */
#include "CompanionApi.h"

#include <string.h>
#include <strings.h>

extern const unsigned char ImgFlashJpeg[];
extern const size_t ImgFlashJpeg_size;

static const char* const Strings[] = {
    [RES_COMPANY] = "Osmerin Soft",
    [RES_PRODUCT_NAME] = "Vantorel",
    [RES_EXTRA_INFO_1] = "Version 1.0.0",
    [RES_TITLE_SUFFIX] = "Video Converter",
    [RES_HOME_PAGE] = "https://vantorel.example/",
    [RES_EMAIL] = "support@vantorel.example",
    [RES_EXTRA_INFO_2] = "Converts video to RealMedia video and MP3 audio, whole or in part, many files in one go.",
};

int ResLoadString(unsigned id, char* buffer, int bufferSize) {
    if (buffer == NULL || bufferSize <= 0) return 0;
    buffer[0] = '\0';
    if (id >= sizeof Strings / sizeof Strings[0] || Strings[id] == NULL) return 0;
    size_t length = strlen(Strings[id]);
    if (length > (size_t)bufferSize - 1) {
        length = (size_t)bufferSize - 1;
        /* Step back over continuation bytes so that the cut falls between two characters. */
        while (length > 0 && ((unsigned char)Strings[id][length] & 0xC0) == 0x80) --length;
    }
    memcpy(buffer, Strings[id], length);
    buffer[length] = '\0';
    return (int)length;
}

const unsigned char* ResFindResource(const char* name, const char* type, size_t* size) {
    if (size != NULL) *size = 0;
    if (name == NULL || type == NULL) return NULL;
    if (strcasecmp(name, "ImgFlash") != 0 || strcasecmp(type, "jpeg") != 0) return NULL;
    if (size != NULL) *size = ImgFlashJpeg_size;
    return ImgFlashJpeg;
}
