// The image decoder, compiled once, for the formats skins may use, decoding from memory
// into blocks of the framework's heap.
#include "ui/core/base/Heap.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_ONLY_PNG
#define STBI_ONLY_JPEG
#define STBI_ONLY_BMP
#define STBI_ONLY_GIF
#define STBI_MALLOC(bytes) Veneer::Heap::Allocate(bytes)
#define STBI_REALLOC(block, bytes) Veneer::Heap::Reallocate(block, bytes)
#define STBI_FREE(block) Veneer::Heap::Release(block)
#include <stb_image.h>
