// Blowfish (nettle) in CBC mode. The whole state lives in the caller's
// context buffer, so a run needs no allocation and BFBurn leaves nothing
// behind.
#include "libs/engine/engine_abi.h"

#include <nettle/blowfish.h>
#include <nettle/cbc.h>
#include <nettle/memops.h>

#include <cstring>
#include <new>

namespace {

struct BlowfishState {
    blowfish_ctx cipher;
    unsigned char chain[BLOWFISH_BLOCK_SIZE];   // vector for the next block
    unsigned char initial[BLOWFISH_BLOCK_SIZE]; // restored by BFReset
};

static_assert(sizeof(BlowfishState) <= VLR_BF_CONTEXT_SIZE);
static_assert(alignof(BlowfishState) <= 8);

BlowfishState* state(void* ctx) {
    return static_cast<BlowfishState*>(ctx);
}

void burn(void* ctx) {
    // A plain memset before the buffer dies may be dropped by the optimiser.
    volatile unsigned char* p = static_cast<volatile unsigned char*>(ctx);
    for (size_t i = 0; i < VLR_BF_CONTEXT_SIZE; ++i)
        p[i] = 0;
}

} // namespace

extern "C" int BFInit(void* ctx, const unsigned char* key, int keyLength, const unsigned char* iv) {
    if (!ctx)
        return 0;
    burn(ctx);
    if (!key || !iv || keyLength < BLOWFISH_MIN_KEY_SIZE || keyLength > BLOWFISH_MAX_KEY_SIZE)
        return 0;
    BlowfishState* s = new (ctx) BlowfishState;
    // A weak key still gets a full schedule; nettle only reports it.
    blowfish_set_key(&s->cipher, static_cast<size_t>(keyLength), key);
    std::memcpy(s->chain, iv, BLOWFISH_BLOCK_SIZE);
    std::memcpy(s->initial, iv, BLOWFISH_BLOCK_SIZE);
    return 1;
}

extern "C" void BFEnc(void* ctx, const unsigned char* in, unsigned char* out) {
    BlowfishState* s = state(ctx);
    cbc_encrypt(&s->cipher, reinterpret_cast<nettle_cipher_func*>(blowfish_encrypt), BLOWFISH_BLOCK_SIZE,
                s->chain, BLOWFISH_BLOCK_SIZE, out, in);
}

extern "C" void BFDec(void* ctx, const unsigned char* in, unsigned char* out) {
    BlowfishState* s = state(ctx);
    cbc_decrypt(&s->cipher, reinterpret_cast<nettle_cipher_func*>(blowfish_decrypt), BLOWFISH_BLOCK_SIZE,
                s->chain, BLOWFISH_BLOCK_SIZE, out, in);
}

extern "C" void BFReset(void* ctx) {
    BlowfishState* s = state(ctx);
    std::memcpy(s->chain, s->initial, BLOWFISH_BLOCK_SIZE);
}

extern "C" void BFBurn(void* ctx) {
    if (ctx)
        burn(ctx);
}
