// Our own declarations of the host's published filter interface for 64-bit
// Windows. Only fixed-width types; the filter record is packed to 4 bytes,
// every other record keeps natural alignment. The static_asserts at the end
// pin each offset and size we rely on, so a wrong declaration fails to build.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gridsmith::host {

using Boolean = uint8_t;
using OSErr = int16_t;
using Fixed = int32_t;
using Ptr = char*;
using Handle = char**;
using OSType = uint32_t;
using DescriptorKeyID = uint32_t;
using DescriptorTypeID = uint32_t;
using PIDescriptorHandle = Handle;
using SPErr = int32_t;
using SPBoolean = int32_t;

struct OpaqueToken;
using BufferID = OpaqueToken*;
using PIReadDescriptor = OpaqueToken*;
using PIWriteDescriptor = OpaqueToken*;
using PIChannelPort = OpaqueToken*;

// A four-character code: the first character is the most significant byte.
constexpr uint32_t FourCC(const char (&s)[5]) {
    return (uint32_t(uint8_t(s[0])) << 24) | (uint32_t(uint8_t(s[1])) << 16) |
           (uint32_t(uint8_t(s[2])) << 8) | uint32_t(uint8_t(s[3]));
}

// ---- selectors and result codes -------------------------------------------

constexpr int16_t filterSelectorAbout = 0;
constexpr int16_t filterSelectorParameters = 1;
constexpr int16_t filterSelectorPrepare = 2;
constexpr int16_t filterSelectorStart = 3;
constexpr int16_t filterSelectorContinue = 4;
constexpr int16_t filterSelectorFinish = 5;

constexpr OSErr noErr = 0;
constexpr OSErr coercedParamErr = 2;
constexpr OSErr eofErr = -39;
constexpr OSErr paramErr = -50;
constexpr OSErr memFullErr = -108;
constexpr OSErr nilHandleErr = -109;
constexpr OSErr userCanceledErr = -128;
constexpr OSErr errMissingParameter = -1715;
constexpr OSErr filterBadParameters = -30100;
constexpr OSErr filterBadMode = -30101;
constexpr OSErr errPlugInHostInsufficient = -30900;

// ---- image modes and colour spaces ------------------------------------------

constexpr int16_t plugInModeBitmap = 0;
constexpr int16_t plugInModeGrayScale = 1;
constexpr int16_t plugInModeIndexedColor = 2;
constexpr int16_t plugInModeRGBColor = 3;
constexpr int16_t plugInModeCMYKColor = 4;
constexpr int16_t plugInModeHSLColor = 5;
constexpr int16_t plugInModeHSBColor = 6;
constexpr int16_t plugInModeMultichannel = 7;
constexpr int16_t plugInModeDuotone = 8;
constexpr int16_t plugInModeLabColor = 9;
constexpr int16_t plugInModeGray16 = 10;
constexpr int16_t plugInModeRGB48 = 11;
constexpr int16_t plugInModeLab48 = 12;
constexpr int16_t plugInModeCMYK64 = 13;
constexpr int16_t plugInModeDeepMultichannel = 14;
constexpr int16_t plugInModeDuotone16 = 15;
constexpr int16_t plugInModeRGB96 = 16;
constexpr int16_t plugInModeGray32 = 17;

constexpr int16_t plugIncolorServicesChooseColor = 0;
constexpr int16_t plugIncolorServicesConvertColor = 1;

constexpr int16_t plugIncolorServicesRGBSpace = 0;
constexpr int16_t plugIncolorServicesHSBSpace = 1;
constexpr int16_t plugIncolorServicesCMYKSpace = 2;
constexpr int16_t plugIncolorServicesLabSpace = 3;
constexpr int16_t plugIncolorServicesGraySpace = 4;
constexpr int16_t plugIncolorServicesHSLSpace = 5;
constexpr int16_t plugIncolorServicesXYZSpace = 6;

// ---- geometry ----------------------------------------------------------------

struct Point {
    int16_t v;
    int16_t h;
};

struct Rect {  // right and bottom exclusive
    int16_t top;
    int16_t left;
    int16_t bottom;
    int16_t right;
};

struct VPoint {
    int32_t v;
    int32_t h;
};

struct VRect {
    int32_t top;
    int32_t left;
    int32_t bottom;
    int32_t right;
};

struct PSRGBColor {
    uint16_t red;
    uint16_t green;
    uint16_t blue;
};

struct PlugInMonitor {
    Fixed gamma, redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY, ambient;
};

using FilterColor = uint8_t[4];

// ---- procedure sets (natural alignment) ---------------------------------------

struct PlatformData {
    intptr_t hwnd;  // owner window of the plug-in's dialogs
};

struct BufferProcs {
    int16_t bufferProcsVersion;
    int16_t numBufferProcs;
    OSErr (*allocateProc)(int32_t size, BufferID* bufferID);
    Ptr (*lockProc)(BufferID bufferID, Boolean moveHigh);
    void (*unlockProc)(BufferID bufferID);
    void (*freeProc)(BufferID bufferID);
    int32_t (*spaceProc)();
    OSErr (*reserveProc)(int32_t size);
    OSErr (*allocateProc64)(int64_t size, BufferID* bufferID);
    int64_t (*spaceProc64)();
};

struct HandleProcs {
    int16_t handleProcsVersion;
    int16_t numHandleProcs;
    Handle (*newProc)(int32_t size);
    void (*disposeProc)(Handle h);
    int32_t (*getSizeProc)(Handle h);
    OSErr (*setSizeProc)(Handle h, int32_t newSize);
    Ptr (*lockProc)(Handle h, Boolean moveHigh);
    void (*unlockProc)(Handle h);
    void (*recoverSpaceProc)(int32_t size);
    void (*disposeRegularHandleProc)(Handle h);
};

using Str255 = uint8_t[256];
using ConstStr255Param = const uint8_t*;

struct PIDescriptorSimpleReference;

struct WriteDescriptorProcs {
    int16_t writeDescriptorProcsVersion;
    int16_t numWriteDescriptorProcs;
    PIWriteDescriptor (*openWriteDescriptorProc)();
    OSErr (*closeWriteDescriptorProc)(PIWriteDescriptor, PIDescriptorHandle* newDescriptor);
    OSErr (*putIntegerProc)(PIWriteDescriptor, DescriptorKeyID, int32_t);
    OSErr (*putFloatProc)(PIWriteDescriptor, DescriptorKeyID, const double*);
    OSErr (*putUnitFloatProc)(PIWriteDescriptor, DescriptorKeyID, uint32_t unit, const double*);
    OSErr (*putBooleanProc)(PIWriteDescriptor, DescriptorKeyID, Boolean);
    OSErr (*putTextProc)(PIWriteDescriptor, DescriptorKeyID, Handle);
    OSErr (*putAliasProc)(PIWriteDescriptor, DescriptorKeyID, Handle);
    OSErr (*putEnumeratedProc)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, uint32_t);
    OSErr (*putClassProc)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
    OSErr (*putSimpleReferenceProc)(PIWriteDescriptor, DescriptorKeyID,
                                    const PIDescriptorSimpleReference*);
    OSErr (*putObjectProc)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID, PIDescriptorHandle);
    OSErr (*putCountProc)(PIWriteDescriptor, DescriptorKeyID, uint32_t);
    OSErr (*putStringProc)(PIWriteDescriptor, DescriptorKeyID, ConstStr255Param);
    OSErr (*putScopedClassProc)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID);
    OSErr (*putScopedObjectProc)(PIWriteDescriptor, DescriptorKeyID, DescriptorTypeID,
                                 PIDescriptorHandle);
};

struct ReadDescriptorProcs {
    int16_t readDescriptorProcsVersion;
    int16_t numReadDescriptorProcs;
    PIReadDescriptor (*openReadDescriptorProc)(PIDescriptorHandle, DescriptorKeyID* keys);
    OSErr (*closeReadDescriptorProc)(PIReadDescriptor);
    Boolean (*getKeyProc)(PIReadDescriptor, DescriptorKeyID* key, DescriptorTypeID* type,
                          int32_t* flags);
    OSErr (*getIntegerProc)(PIReadDescriptor, int32_t*);
    OSErr (*getFloatProc)(PIReadDescriptor, double*);
    OSErr (*getUnitFloatProc)(PIReadDescriptor, uint32_t* unit, double*);
    OSErr (*getBooleanProc)(PIReadDescriptor, Boolean*);
    OSErr (*getTextProc)(PIReadDescriptor, Handle*);
    OSErr (*getAliasProc)(PIReadDescriptor, Handle*);
    OSErr (*getEnumeratedProc)(PIReadDescriptor, uint32_t*);
    OSErr (*getClassProc)(PIReadDescriptor, DescriptorTypeID*);
    OSErr (*getSimpleReferenceProc)(PIReadDescriptor, PIDescriptorSimpleReference*);
    OSErr (*getObjectProc)(PIReadDescriptor, DescriptorTypeID*, PIDescriptorHandle*);
    OSErr (*getCountProc)(PIReadDescriptor, uint32_t*);
    OSErr (*getStringProc)(PIReadDescriptor, Str255*);
    OSErr (*getPinnedIntegerProc)(PIReadDescriptor, int32_t min, int32_t max, int32_t*);
    OSErr (*getPinnedFloatProc)(PIReadDescriptor, const double* min, const double* max, double*);
    OSErr (*getPinnedUnitFloatProc)(PIReadDescriptor, const double* min, const double* max,
                                    uint32_t* unit, double*);
};

constexpr int16_t plugInDialogDontDisplay = 0;
constexpr int16_t plugInDialogDisplay = 1;
constexpr int16_t plugInDialogSilent = 2;
constexpr int16_t plugInDialogOptional = 0;
constexpr int16_t plugInDialogRequired = 1;
constexpr int16_t plugInDialogNone = 2;

struct PIDescriptorParameters {
    int16_t descriptorParametersVersion;
    int16_t playInfo;
    int16_t recordInfo;
    PIDescriptorHandle descriptor;
    WriteDescriptorProcs* writeDescriptorProcs;
    ReadDescriptorProcs* readDescriptorProcs;
};

constexpr DescriptorTypeID typeInteger = FourCC("long");
constexpr DescriptorTypeID typeBoolean = FourCC("bool");
constexpr DescriptorTypeID typeChar = FourCC("TEXT");
constexpr DescriptorTypeID typeNull = FourCC("null");
constexpr DescriptorTypeID typeImageReference = FourCC("#ImR");

struct PSScaling {
    VRect sourceRect;
    VRect destinationRect;
};

struct PixelMemoryDesc {
    void* data;
    int32_t rowBits;
    int32_t colBits;
    int32_t bitOffset;
    int32_t depth;
};

struct ChannelPortProcs {
    int16_t channelPortProcsVersion;
    int16_t numChannelPortProcs;
    OSErr (*readPixelsProc)(PIChannelPort port, const PSScaling* scaling, const VRect* writeRect,
                            const PixelMemoryDesc* destination, VRect* wroteRect);
    OSErr (*writeBasePixelsProc)(PIChannelPort port, const VRect* writeRect,
                                 const PixelMemoryDesc* source);
    OSErr (*readPortForWritePortProc)(PIChannelPort* readPort, PIChannelPort writePort);
};

struct ReadChannelDesc {
    int32_t minVersion;
    int32_t maxVersion;
    ReadChannelDesc* next;
    PIChannelPort port;
    VRect bounds;
    int32_t depth;
    VPoint tileSize;
    VPoint tileOrigin;
    Boolean target;
    Boolean shown;
    int16_t channelType;
    void* contextInfo;
    const char* name;
    // version 1 and later
    PIChannelPort writePort;
    uint32_t alphaID;
    const uint16_t* unicodeName;
    Boolean isEnabled;
    VRect limitBounds;
};

struct ReadImageDocumentDesc {
    int32_t minVersion;
    int32_t maxVersion;
    int32_t imageMode;
    int32_t depth;
    VRect bounds;
    Fixed hResolution;
    Fixed vResolution;
    uint8_t redLUT[256];
    uint8_t greenLUT[256];
    uint8_t blueLUT[256];
    ReadChannelDesc* targetCompositeChannels;
    ReadChannelDesc* targetTransparency;
    ReadChannelDesc* targetLayerMask;
    ReadChannelDesc* mergedCompositeChannels;
    ReadChannelDesc* mergedTransparency;
    ReadChannelDesc* alphaChannels;
    ReadChannelDesc* selection;
    // version 1 and later
    void* fileSpec;
    void* layersDescriptor;
    int32_t documentType;
    ReadImageDocumentDesc* next;
    void* iCCprofileData;
    int32_t iCCprofileSize;
    int32_t compositeChannelCount;
    int32_t layerCount;
    int32_t alphaChannelCount;
    ReadChannelDesc* targetSmartFilterMask;
    void* fileSpecW;
    void* fileSpecX;
};

struct PSPixelMask {
    PSPixelMask* next;
    void* maskData;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t maskDescription;
};

struct PSPixelOverlay;

struct PSPixelMap {
    int32_t version;
    VRect bounds;
    int32_t imageMode;
    int32_t rowBytes;
    int32_t colBytes;
    int32_t planeBytes;
    void* baseAddr;
    // version 1 and later
    PSPixelMask* mat;
    PSPixelMask* masks;
    int32_t maskPhaseRow;
    int32_t maskPhaseCol;
    // version 2 and later
    PSPixelOverlay* pixelOverlays;
    uint32_t colorManagementOptions;
    // version 3 and later
    int16_t depth;
};

using DisplayPixelsProc = OSErr (*)(const PSPixelMap* source, const VRect* srcRect, int32_t dstRow,
                                    int32_t dstCol, void* platformContext);

struct ColorServicesInfo {
    int32_t infoSize;
    int16_t selector;
    int16_t sourceSpace;
    int16_t resultSpace;
    Boolean resultGamutInfoValid;
    Boolean resultInGamut;
    void* reservedSourceSpaceInfo;
    void* reservedResultSpaceInfo;
    int16_t colorComponents[4];
    void* reserved;
    union {
        Str255* pickerPrompt;
        Point* globalSamplePoint;
        int32_t specialColorID;
    } selectorParameter;
};

struct SPBasicSuite {
    SPErr (*AcquireSuite)(const char* name, int32_t version, const void** suite);
    SPErr (*ReleaseSuite)(const char* name, int32_t version);
    SPBoolean (*IsEqual)(const char* token1, const char* token2);
    SPErr (*AllocateBlock)(size_t size, void** block);
    SPErr (*FreeBlock)(void* block);
    SPErr (*ReallocateBlock)(void* block, size_t newSize, void** newBlock);
    SPErr (*Undefined)();
};

struct PSUIHooksSuite1 {
    void (*processEvent)(void* event);
    DisplayPixelsProc displayPixels;
    void (*progressBar)(int32_t done, int32_t total);
    Boolean (*testAbort)();
    intptr_t (*MainAppWindow)();
    SPErr (*SetCursor)(const char* cursorID);
    uint32_t (*TickCount)();
    SPErr (*GetPluginName)(void* ref, void** name);
};

constexpr const char* kPSUIHooksSuite = "Photoshop UIHooks Suite for Plug-ins";
constexpr int32_t kPSUIHooksSuiteVersion1 = 1;
constexpr const char* kPICursorHand = "Photoshop Cursor Hand";
constexpr const char* kPICursorGrab = "Photoshop Cursor Grab";

struct AboutRecord {
    PlatformData* platformData;
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    char reserved[244];
};

// ---- the filter record (packed to 4) -----------------------------------------

#pragma pack(push, 4)

struct BigDocumentStruct {
    int32_t PluginUsing32BitCoordinates;
    VPoint imageSize32;
    VRect filterRect32;
    VRect inRect32;
    VRect outRect32;
    VRect maskRect32;
    VPoint floatCoord32;
    VPoint wholeSize32;
};

struct FilterRecord {
    int32_t serialNumber;
    Boolean (*abortProc)();
    void (*progressProc)(int32_t done, int32_t total);
    Handle parameters;
    Point imageSize;
    int16_t planes;
    Rect filterRect;
    PSRGBColor background;
    PSRGBColor foreground;
    int32_t maxSpace;
    int32_t bufferSpace;
    Rect inRect;
    int16_t inLoPlane;
    int16_t inHiPlane;
    Rect outRect;
    int16_t outLoPlane;
    int16_t outHiPlane;
    void* inData;
    int32_t inRowBytes;
    void* outData;
    int32_t outRowBytes;
    Boolean isFloating;
    Boolean haveMask;
    Boolean autoMask;
    Rect maskRect;
    void* maskData;
    int32_t maskRowBytes;
    FilterColor backColor;
    FilterColor foreColor;
    OSType hostSig;
    void (*hostProc)(int16_t selector, intptr_t* data);
    int16_t imageMode;
    Fixed imageHRes;
    Fixed imageVRes;
    Point floatCoord;
    Point wholeSize;
    PlugInMonitor monitor;
    PlatformData* platformData;
    BufferProcs* bufferProcs;
    void* resourceProcs;
    void (*processEvent)(void* event);
    DisplayPixelsProc displayPixels;
    HandleProcs* handleProcs;
    Boolean supportsDummyChannels;
    Boolean supportsAlternateLayouts;
    int16_t wantLayout;
    int16_t filterCase;
    int16_t dummyPlaneValue;
    void* premiereHook;
    OSErr (*advanceState)();
    Boolean supportsAbsolute;
    Boolean wantsAbsolute;
    OSErr (*getPropertyObsolete)(uint32_t sig, uint32_t key, int32_t index, intptr_t* simple,
                                 Handle* complex);
    Boolean cannotUndo;
    Boolean supportsPadding;
    int16_t inputPadding;
    int16_t outputPadding;
    int16_t maskPadding;
    uint8_t samplingSupport;
    uint8_t reservedByte;
    Fixed inputRate;
    Fixed maskRate;
    OSErr (*colorServices)(ColorServicesInfo* info);
    int16_t inLayerPlanes, inTransparencyMask, inLayerMasks, inInvertedLayerMasks, inNonLayerPlanes;
    int16_t outLayerPlanes, outTransparencyMask, outLayerMasks, outInvertedLayerMasks,
        outNonLayerPlanes;
    int16_t absLayerPlanes, absTransparencyMask, absLayerMasks, absInvertedLayerMasks,
        absNonLayerPlanes;
    int16_t inPreDummyPlanes, inPostDummyPlanes, outPreDummyPlanes, outPostDummyPlanes;
    int32_t inColumnBytes;
    int32_t inPlaneBytes;
    int32_t outColumnBytes;
    int32_t outPlaneBytes;
    void* imageServicesProcs;
    void* propertyProcs;
    int16_t inTileHeight;
    int16_t inTileWidth;
    Point inTileOrigin;
    int16_t absTileHeight;
    int16_t absTileWidth;
    Point absTileOrigin;
    int16_t outTileHeight;
    int16_t outTileWidth;
    Point outTileOrigin;
    int16_t maskTileHeight;
    int16_t maskTileWidth;
    Point maskTileOrigin;
    PIDescriptorParameters* descriptorParameters;
    Str255* errorString;
    ChannelPortProcs* channelPortProcs;
    ReadImageDocumentDesc* documentInfo;
    SPBasicSuite* sSPBasic;
    void* plugInRef;
    int32_t depth;
    // Everything below exists only in hosts that allocate the full record;
    // the plug-in touches only bigDocumentData, which lies within the
    // reference hosts' zero-filled 556 bytes.
    Handle iCCprofileData;
    int32_t iCCprofileSize;
    int32_t canUseICCProfiles;
    int32_t hasImageScrap;
    BigDocumentStruct* bigDocumentData;
    PIDescriptorParameters* input3DScene;
    PIDescriptorParameters* output3DScene;
    Boolean createNewLayer;
    Handle iCCWorkingProfileData;
    int32_t iCCWorkingProfileSize;
    int64_t bufferSpace64;
    int64_t maxSpace64;
    char reserved[46];
};

#pragma pack(pop)

// The plug-in reads and writes nothing beyond this offset: the reference hosts
// allocate only this much of the record.
constexpr size_t kFilterRecordMinimumHostSize = 556;

// ---- layout proofs ------------------------------------------------------------

static_assert(sizeof(void*) == 8, "64-bit targets only");
static_assert(sizeof(Rect) == 8 && sizeof(VRect) == 16 && sizeof(Point) == 4);
static_assert(sizeof(PSRGBColor) == 6 && sizeof(PlugInMonitor) == 40);

static_assert(offsetof(FilterRecord, abortProc) == 4);
static_assert(offsetof(FilterRecord, progressProc) == 12);
static_assert(offsetof(FilterRecord, parameters) == 20);
static_assert(offsetof(FilterRecord, imageSize) == 28);
static_assert(offsetof(FilterRecord, planes) == 32);
static_assert(offsetof(FilterRecord, filterRect) == 34);
static_assert(offsetof(FilterRecord, background) == 42);
static_assert(offsetof(FilterRecord, foreground) == 48);
static_assert(offsetof(FilterRecord, maxSpace) == 56);
static_assert(offsetof(FilterRecord, bufferSpace) == 60);
static_assert(offsetof(FilterRecord, inRect) == 64);
static_assert(offsetof(FilterRecord, inLoPlane) == 72);
static_assert(offsetof(FilterRecord, inHiPlane) == 74);
static_assert(offsetof(FilterRecord, outRect) == 76);
static_assert(offsetof(FilterRecord, outLoPlane) == 84);
static_assert(offsetof(FilterRecord, outHiPlane) == 86);
static_assert(offsetof(FilterRecord, inData) == 88);
static_assert(offsetof(FilterRecord, inRowBytes) == 96);
static_assert(offsetof(FilterRecord, outData) == 100);
static_assert(offsetof(FilterRecord, outRowBytes) == 108);
static_assert(offsetof(FilterRecord, isFloating) == 112);
static_assert(offsetof(FilterRecord, maskRect) == 116);
static_assert(offsetof(FilterRecord, maskData) == 124);
static_assert(offsetof(FilterRecord, maskRowBytes) == 132);
static_assert(offsetof(FilterRecord, backColor) == 136);
static_assert(offsetof(FilterRecord, foreColor) == 140);
static_assert(offsetof(FilterRecord, hostSig) == 144);
static_assert(offsetof(FilterRecord, hostProc) == 148);
static_assert(offsetof(FilterRecord, imageMode) == 156);
static_assert(offsetof(FilterRecord, imageHRes) == 160);
static_assert(offsetof(FilterRecord, imageVRes) == 164);
static_assert(offsetof(FilterRecord, floatCoord) == 168);
static_assert(offsetof(FilterRecord, wholeSize) == 172);
static_assert(offsetof(FilterRecord, monitor) == 176);
static_assert(offsetof(FilterRecord, platformData) == 216);
static_assert(offsetof(FilterRecord, bufferProcs) == 224);
static_assert(offsetof(FilterRecord, resourceProcs) == 232);
static_assert(offsetof(FilterRecord, processEvent) == 240);
static_assert(offsetof(FilterRecord, displayPixels) == 248);
static_assert(offsetof(FilterRecord, handleProcs) == 256);
static_assert(offsetof(FilterRecord, supportsDummyChannels) == 264);
static_assert(offsetof(FilterRecord, wantLayout) == 266);
static_assert(offsetof(FilterRecord, filterCase) == 268);
static_assert(offsetof(FilterRecord, dummyPlaneValue) == 270);
static_assert(offsetof(FilterRecord, premiereHook) == 272);
static_assert(offsetof(FilterRecord, advanceState) == 280);
static_assert(offsetof(FilterRecord, supportsAbsolute) == 288);
static_assert(offsetof(FilterRecord, getPropertyObsolete) == 292);
static_assert(offsetof(FilterRecord, cannotUndo) == 300);
static_assert(offsetof(FilterRecord, inputPadding) == 302);
static_assert(offsetof(FilterRecord, samplingSupport) == 308);
static_assert(offsetof(FilterRecord, inputRate) == 312);
static_assert(offsetof(FilterRecord, maskRate) == 316);
static_assert(offsetof(FilterRecord, colorServices) == 320);
static_assert(offsetof(FilterRecord, inLayerPlanes) == 328);
static_assert(offsetof(FilterRecord, outLayerPlanes) == 338);
static_assert(offsetof(FilterRecord, absLayerPlanes) == 348);
static_assert(offsetof(FilterRecord, inPreDummyPlanes) == 358);
static_assert(offsetof(FilterRecord, outPostDummyPlanes) == 364);
static_assert(offsetof(FilterRecord, inColumnBytes) == 368);
static_assert(offsetof(FilterRecord, outPlaneBytes) == 380);
static_assert(offsetof(FilterRecord, imageServicesProcs) == 384);
static_assert(offsetof(FilterRecord, propertyProcs) == 392);
static_assert(offsetof(FilterRecord, inTileHeight) == 400);
static_assert(offsetof(FilterRecord, outTileOrigin) == 420);
static_assert(offsetof(FilterRecord, maskTileOrigin) == 428);
static_assert(offsetof(FilterRecord, descriptorParameters) == 432);
static_assert(offsetof(FilterRecord, errorString) == 440);
static_assert(offsetof(FilterRecord, channelPortProcs) == 448);
static_assert(offsetof(FilterRecord, documentInfo) == 456);
static_assert(offsetof(FilterRecord, sSPBasic) == 464);
static_assert(offsetof(FilterRecord, plugInRef) == 472);
static_assert(offsetof(FilterRecord, depth) == 480);
static_assert(offsetof(FilterRecord, iCCprofileData) == 484);
static_assert(offsetof(FilterRecord, hasImageScrap) == 500);
static_assert(offsetof(FilterRecord, bigDocumentData) == 504);
static_assert(offsetof(FilterRecord, createNewLayer) == 528);
static_assert(offsetof(FilterRecord, iCCWorkingProfileData) == 532);
static_assert(offsetof(FilterRecord, bufferSpace64) == 544);
static_assert(offsetof(FilterRecord, maxSpace64) == 552);
static_assert(offsetof(FilterRecord, reserved) == 560);
static_assert(sizeof(FilterRecord) == 608);
static_assert(offsetof(FilterRecord, depth) + sizeof(int32_t) <= kFilterRecordMinimumHostSize);
static_assert(sizeof(BigDocumentStruct) == 92);

static_assert(sizeof(AboutRecord) == 272 && offsetof(AboutRecord, reserved) == 24);
static_assert(sizeof(PlatformData) == 8);
static_assert(offsetof(BufferProcs, allocateProc) == 8 && offsetof(BufferProcs, freeProc) == 32);
static_assert(offsetof(BufferProcs, spaceProc64) == 64 && sizeof(BufferProcs) == 72);
static_assert(offsetof(HandleProcs, disposeProc) == 16 && sizeof(HandleProcs) == 72);
static_assert(offsetof(PIDescriptorParameters, descriptor) == 8);
static_assert(offsetof(PIDescriptorParameters, readDescriptorProcs) == 24);
static_assert(sizeof(PIDescriptorParameters) == 32);
static_assert(offsetof(WriteDescriptorProcs, openWriteDescriptorProc) == 8);
static_assert(offsetof(WriteDescriptorProcs, putIntegerProc) == 24);
static_assert(offsetof(WriteDescriptorProcs, putBooleanProc) == 48);
static_assert(offsetof(WriteDescriptorProcs, putStringProc) == 112);
static_assert(sizeof(WriteDescriptorProcs) == 136);
static_assert(offsetof(ReadDescriptorProcs, getKeyProc) == 24);
static_assert(offsetof(ReadDescriptorProcs, getIntegerProc) == 32);
static_assert(offsetof(ReadDescriptorProcs, getBooleanProc) == 56);
static_assert(offsetof(ReadDescriptorProcs, getStringProc) == 120);
static_assert(sizeof(ReadDescriptorProcs) == 152);
static_assert(offsetof(ChannelPortProcs, readPixelsProc) == 8 && sizeof(ChannelPortProcs) == 32);
static_assert(sizeof(PSScaling) == 32 && sizeof(PixelMemoryDesc) == 24);
static_assert(offsetof(ReadChannelDesc, port) == 16 && offsetof(ReadChannelDesc, channelType) == 62);
static_assert(offsetof(ReadChannelDesc, writePort) == 80 && offsetof(ReadChannelDesc, limitBounds) == 108);
static_assert(sizeof(ReadChannelDesc) == 128);
static_assert(offsetof(ReadImageDocumentDesc, bounds) == 16);
static_assert(offsetof(ReadImageDocumentDesc, mergedCompositeChannels) == 832);
static_assert(offsetof(ReadImageDocumentDesc, mergedTransparency) == 840);
static_assert(offsetof(ReadImageDocumentDesc, fileSpec) == 864);
static_assert(offsetof(ReadImageDocumentDesc, next) == 888);
static_assert(offsetof(ReadImageDocumentDesc, fileSpecX) == 936);
static_assert(sizeof(ReadImageDocumentDesc) == 944);
static_assert(offsetof(PSPixelMap, baseAddr) == 40 && offsetof(PSPixelMap, masks) == 56);
static_assert(offsetof(PSPixelMap, pixelOverlays) == 72 && offsetof(PSPixelMap, depth) == 84);
static_assert(sizeof(PSPixelMap) == 88);
static_assert(sizeof(PSPixelMask) == 32);
static_assert(offsetof(ColorServicesInfo, colorComponents) == 32);
static_assert(offsetof(ColorServicesInfo, selectorParameter) == 48);
static_assert(sizeof(ColorServicesInfo) == 56);
static_assert(sizeof(SPBasicSuite) == 56 && sizeof(PSUIHooksSuite1) == 64);
static_assert(offsetof(PSUIHooksSuite1, SetCursor) == 40);

}  // namespace gridsmith::host
