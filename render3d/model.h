// V3DModel: the indexed triangle mesh every model loader fills and the renderer draws.
//
// A vertex buffer (positions, normals, colours, texture coordinates) in one of two layouts,
// faces of three u16 vertex indices, a model matrix, optional bones, and the two work buffers
// the renderer fills each frame. Loaders start a model with CreateFromChunk and fill it with
// the builder operations, which take blocks of records described by a ModelChunk.
//
// All numbers are integers: positions are whole model units, the model matrix is 20.12 (see
// math/matrix.h), texture coordinates are 16.16, normals are signed bytes of length about
// 88. Every buffer is allocated and released through the owner's memory service; a model
// without an owner holds no buffers.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics2d/surface_model.h"
#include "math/matrix.h"

struct V3DServices;

// Create flags; other bits are ignored by the model and passed through by the loaders.
constexpr uint32_t V3DMODEL_NONORMALS = 0x100;
constexpr uint32_t V3DMODEL_NOCOLOURS = 0x200;
constexpr uint32_t V3DMODEL_NOTEXCOORDS = 0x400;
constexpr uint32_t V3DMODEL_SEPARATE = 0x800;  // one array per attribute, not one record

// Results of the model's operations.
constexpr uint32_t V3DMODEL_OK = 0;
constexpr uint32_t V3DMODEL_FAILED = 1;   // out of memory, or no bone or key array to write
constexpr uint32_t V3DMODEL_INVALID = 4;  // a capacity of 0
constexpr uint32_t V3DMODEL_NOTHING = 8;  // no bones, or an empty block of bone vertices

// The attributes, in the order of the offset and stride fields.
enum V3DAttribute : uint32_t {
    V3DATTR_POSITION = 0,
    V3DATTR_TEXCOORD = 1,
    V3DATTR_NORMAL = 2,
    V3DATTR_COLOUR = 3,
    V3DATTR_COUNT = 4,
};

// Bytes of each attribute of one vertex.
constexpr uint32_t kPositionBytes = 12;  // 3 x i32
constexpr uint32_t kNormalBytes = 4;     // 3 x i8 and one unused byte
constexpr uint32_t kColourBytes = 4;     // red, green, blue, alpha
constexpr uint32_t kTexCoordBytes = 8;   // 2 x i32, 16.16

// i32 values of one render-list entry: the largest entry, a textured face.
constexpr uint32_t kRenderEntryValues = 12;
// Bytes of one bone key; their content is the loader's.
constexpr uint32_t kBoneKeyBytes = 16;
// Length of a normal computed or converted by the model.
constexpr int32_t kNormalLength = 88;

// One entry of the renderer's sort list: a render-list index and its depth key. Both keep 32
// bits: the key so that faces far apart in depth never wrap into the wrong order, the index so
// that a model of more than 65536 faces still names every entry (the padding of a 16-bit index
// would take the same room).
struct V3DSortEntry {
    uint32_t index;
    int32_t key;
};

struct V3DBone {
    VMatrix global;         // into model space
    VMatrix local;          // relative to the parent
    VMatrix inverseGlobal;  // of the global matrix when the bone was set
    int16_t parent;         // -1: none
    uint32_t translationKeyCount;
    uint32_t rotationKeyCount;
    uint16_t vertexCount;
    uint16_t* vertices;  // the vertices that belong to the bone
    uint8_t* keys;       // translation keys, then rotation keys, kBoneKeyBytes each
};

// Filled by Lock: where each attribute of vertex 0 lies (null when the model has no such
// attribute), the faces, and the byte distance from one vertex's attribute to the next.
struct V3DModelView {
    uint8_t* position = nullptr;
    uint8_t* normal = nullptr;
    uint8_t* colour = nullptr;
    uint8_t* texCoord = nullptr;
    uint16_t* faces = nullptr;
    uint32_t positionStride = 0;
    uint32_t texCoordStride = 0;
    uint32_t normalStride = 0;
    uint32_t colourStride = 0;
};

// A block of records for the builder operations, and the counters that say where the next
// block of each kind lands. A loader zeroes the counters before its first block; every add
// operation that takes its block advances its counter by the block's record count.
struct ModelChunk {
    uint32_t vertexCount = 0;  // totals for CreateFromChunk
    uint32_t faceCount = 0;
    uint8_t texCoordsPerVertex = 0;  // 1: one record per vertex; 0: one per face
    uint8_t coloursPerVertex = 0;
    uint8_t normalsPerVertex = 0;
    const void* data = nullptr;  // the block being added
    uint32_t dataSize = 0;       // bytes; the record count is dataSize / record size
    uint32_t createFlags = 0;
    uint32_t nextVertex = 0;
    uint32_t nextFace = 0;
    uint32_t nextTexCoord = 0;
    uint32_t nextColour = 0;
    uint32_t nextNormal = 0;
    uint32_t boneIndex = 0;  // for AddBoneKeys
    uint32_t nextKey = 0;
    uint32_t keyKind = 0;  // 1: rotation keys; anything else: translation keys
};

class V3DModel final : public V2DModelDrawing {
  public:
    V3DModel() = default;
    V3DModel(const V3DModel&) = delete;
    V3DModel& operator=(const V3DModel&) = delete;
    ~V3DModel();

    // --- Life ---
    // A model that holds buffers of another owner gives them back to that owner first.
    void SetOwner(V3DServices* services);
    V3DServices* Owner() const { return owner_; }
    // 0, 4 when a capacity is 0, 1 when memory runs out (or the model has no owner). Frees the
    // previous contents first. Afterwards every colour is 0xFFFFFFFF, every other byte of the
    // vertex buffer and the faces 0, the model matrix identity, both counts 0.
    uint32_t Create(uint32_t vertexCapacity, uint32_t faceCapacity, uint32_t flags);
    // Create with the chunk's totals and flags; the normals are then computed by FinishBuild
    // unless AddNormals delivers them.
    uint32_t CreateFromChunk(const ModelChunk& chunk);
    void Free();
    // False when the model has no faces or view is null.
    bool Lock(V3DModelView* view);
    void Unlock();
    uint32_t GetFaceCount() const { return faceCount_; }

    // --- Elements ---
    // Out-of-range writes are dropped without an error; the counts grow only from accepted
    // ones. A face index that does not fit the u16 of a face is out of range too.
    void SetVertex(uint32_t index, int32_t x, int32_t y, int32_t z);
    void SetFace(uint32_t index, uint32_t a, uint32_t b, uint32_t c);
    // Every vertex normal from the faces around it. False when memory for the sums runs out;
    // the normals are then as they were.
    bool ComputeNormals();

    // --- Builder operations (0 unless stated; a block of a kind the model lacks is skipped
    // without advancing its counter) ---
    // Records of 3 x i32 x, y, z.
    uint32_t AddVertices(ModelChunk& chunk);
    // Records of 4 x u32 a, b, c, unused; rejected faces still count.
    uint32_t AddFaces(ModelChunk& chunk);
    // Per vertex 3 x i32 u, v, unused; per face 6 x i32 u0, v0, u1, v1, u2, v2. Stored as
    // (u, -v).
    uint32_t AddTexCoords(ModelChunk& chunk);
    // Records of 4 bytes red, green, blue, alpha; per face to the three corner vertices.
    uint32_t AddColours(ModelChunk& chunk);
    // Per vertex 3 x i32 in 16.16; per face 9 x i32, one normal per corner. Each component is
    // stored as value * 88 / 65536, truncated toward zero.
    uint32_t AddNormals(ModelChunk& chunk);
    // Records of 2 x u16 vertex, bone, sorted by bone (stably) and appended to each bone's
    // vertex list in record order. 8 without bones or records, 1 when memory runs out.
    uint32_t AddBoneVertices(ModelChunk& chunk);
    // kBoneKeyBytes records into the keys of bone chunk.boneIndex from key chunk.nextKey of
    // the kind chunk.keyKind; records beyond that kind's keys are dropped. 1 without bones,
    // with a bone index out of range or a bone without keys.
    uint32_t AddBoneKeys(ModelChunk& chunk);
    // Computes the normals if no block delivered them and ends every lock. 1 when memory for
    // the normals ran out.
    uint32_t FinishBuild();

    // --- Bones ---
    // Replaces the bones with count bones (identity matrices, no parent, no keys, no
    // vertices) and the animated vertex buffer; count 0 removes them. Ignored while the model
    // has no faces; when memory runs out the model has no bones.
    void CreateBones(uint32_t count);
    // The local matrix from the angles (x, then y, then z, 4096 a turn) and the position; the
    // global matrix the local one followed by the parent's global one. A parent that is not an
    // earlier-set bone of this model counts as none.
    void SetBone(uint32_t index, const int32_t position[3], const int32_t angles[3],
                 int32_t parent);
    // Replaces the bone's keys with room for both counts; with memory exhausted it has none.
    void SetBoneKeyCounts(uint32_t index, uint32_t translationKeys, uint32_t rotationKeys);
    // Grows the bone's vertex list by count indices; the old list stays when memory runs out
    // or the list would outgrow its u16 count.
    void AppendBoneVertices(uint32_t index, const uint16_t* list, uint32_t count);

    // --- Rendering (model_draw.cpp, triangle_list.cpp) ---
    // The drawing of V2DSurface::DrawModel: builds the triangle list for the render flags and
    // draws it back to front with the surface's fills. Results: VSURF_OK, VSURF_NOTCREATED (no
    // buffers), VSURF_LOCKFAILED (the surface cannot be locked).
    uint32_t DrawInto(V2DSurface& surface, int32_t x, int32_t y, uint32_t flags,
                      uint32_t property) override;
    // Transforms, projects, culls and colours every face into the render list (see
    // render_list.h for its entries) and sorts the sort list far to near. lighting needs
    // normals and an enabled light of the owner's display; textured needs texture coordinates
    // and the display's texture. 0 entries without a display, or textured without a texture
    // of some size.
    uint32_t BuildTriangleList(bool lighting, bool colour, bool shaded, bool textured, bool cull);

    // --- Data ---
    // Applications may write the model matrix directly; nothing but Create changes it.
    VMatrix& ModelMatrix() { return modelMatrix_; }
    const VMatrix& ModelMatrix() const { return modelMatrix_; }
    // The matrix the renderer applies after the model matrix; null after Create.
    const VMatrix* ViewMatrix() const { return viewMatrix_; }
    void SetViewMatrix(const VMatrix* view) { viewMatrix_ = view; }
    // Renderer work buffers: face capacity entries each.
    V3DSortEntry* SortList() const { return sortList_; }
    int32_t* RenderList() const { return renderList_; }
    const uint16_t* Faces() const { return faces_; }
    const uint8_t* VertexBuffer() const { return vertices_; }
    const uint8_t* AnimatedVertexBuffer() const { return animatedVertices_; }
    const V3DBone* Bones() const { return bones_; }
    // Byte offset of the attribute of vertex 0 in the vertex buffer, -1 when absent.
    int32_t AttributeOffset(V3DAttribute a) const { return offsets_[a]; }
    uint32_t AttributeStride(V3DAttribute a) const { return strides_[a]; }
    bool Has(V3DAttribute a) const { return offsets_[a] >= 0; }
    uint32_t FaceCapacity() const { return faceCapacity_; }
    uint32_t VertexCapacity() const { return vertexCapacity_; }
    uint32_t VertexCount() const { return vertexCount_; }
    uint32_t BoneCount() const { return boneCount_; }
    uint32_t VertexBufferSize() const { return vertexBufferSize_; }
    uint32_t LockCount() const { return lockCount_; }
    bool NormalsPending() const { return normalsPending_ != 0; }

  private:
    // Through the owner's memory service; null without one, for size 0 or too large a size.
    void* Allocate(uint64_t size);
    void Release(void* block);
    void LayOut(uint32_t flags);
    void FreeBones();
    // Address of an attribute of a vertex below the vertex capacity.
    uint8_t* At(V3DAttribute a, uint32_t vertex) const {
        return vertices_ + offsets_[a] + size_t(vertex) * strides_[a];
    }
    // The vertex at corner k of a face below the face capacity.
    uint32_t Corner(uint32_t face, uint32_t k) const { return faces_[size_t(face) * 3 + k]; }
    void WriteTexCoord(uint32_t vertex, int32_t u, int32_t v);
    // The model matrix followed by the view matrix when one is set.
    VMatrix RenderMatrix() const;
    void ReadPosition(uint32_t vertex, int32_t out[3]) const;
    void ReadNormal(uint32_t vertex, int32_t out[3]) const;
    uint32_t ReadColour(uint32_t vertex) const;
    void ReadTexCoord(uint32_t vertex, int32_t out[2]) const;
    void WriteNormal(uint32_t vertex, const uint8_t* record);

    V3DServices* owner_ = nullptr;
    V3DBone* bones_ = nullptr;
    const VMatrix* viewMatrix_ = nullptr;
    VMatrix modelMatrix_{};
    V3DSortEntry* sortList_ = nullptr;
    uint16_t* faces_ = nullptr;
    uint8_t* vertices_ = nullptr;
    uint8_t* animatedVertices_ = nullptr;
    int32_t* renderList_ = nullptr;
    int32_t offsets_[V3DATTR_COUNT] = {-1, -1, -1, -1};
    uint32_t strides_[V3DATTR_COUNT] = {};
    uint32_t faceCapacity_ = 0;
    uint32_t vertexCapacity_ = 0;
    uint32_t faceCount_ = 0;
    uint32_t vertexCount_ = 0;
    uint32_t boneCount_ = 0;
    uint32_t vertexBufferSize_ = 0;
    uint32_t lockCount_ = 0;
    uint8_t normalsPending_ = 0;
};
