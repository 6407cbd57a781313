#include "platform/storage/CompoundFile.h"

#include "platform/storage/GsfSupport.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

constexpr unsigned char Signature[8] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

// Storages nest only a few levels in real files; a deeper tree is a damaged directory.
constexpr int MaxStorageDepth = 32;

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool isStorage(GsfInput* child) {
    return GSF_IS_INFILE(child) && gsf_infile_num_children(GSF_INFILE(child)) >= 0;
}

gsf::Ref<GsfInput> openChild(GsfInfile* parent, int index, const std::string& name) {
    gsf::Ref<GsfInput> child(gsf_infile_child_by_index(parent, index));
    if (!child)
        throw StorageError("cannot open \"" + name + "\" in the compound file");
    return child;
}

std::string readWhole(GsfInput* input, const std::string& name, uint64_t limit) {
    gsf_off_t size = gsf_input_size(input);
    if (size < 0 || static_cast<uint64_t>(size) > limit)
        throw StorageError("the stream \"" + name + "\" is larger than its compound file");
    std::string bytes(static_cast<size_t>(size), '\0');
    if (size > 0 &&
        !gsf_input_read(input, static_cast<size_t>(size), reinterpret_cast<guint8*>(bytes.data())))
        throw StorageError("cannot read the stream \"" + name + "\" of the compound file");
    return bytes;
}

// The budget is what the streams of a sound file can hold together: the file's size. Damaged
// files whose chains share sectors would otherwise multiply the memory a copy takes.
StorageTree copyStorage(GsfInfile* storage, const std::string& name, uint64_t& budget, int depth) {
    if (depth > MaxStorageDepth)
        throw StorageError("the storages of the compound file nest too deeply");
    StorageTree tree;
    tree.name = name;
    if (GSF_IS_INFILE_MSOLE(storage))
        gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(storage), tree.classId.data());
    int count = gsf_infile_num_children(storage);
    for (int i = 0; i < count; ++i) {
        const char* childName = gsf_infile_name_by_index(storage, i);
        std::string text = childName ? childName : "";
        gsf::Ref<GsfInput> child = openChild(storage, i, text);
        if (isStorage(child.get()))
            tree.storages.push_back(copyStorage(GSF_INFILE(child.get()), text, budget, depth + 1));
        else {
            tree.streams.push_back({text, readWhole(child.get(), text, budget)});
            budget -= tree.streams.back().bytes.size();
        }
    }
    return tree;
}

} // namespace

struct CompoundFile::Impl {
    std::string bytes;
    gsf::Ref<GsfInput> source;
    gsf::Ref<GsfInfile> root;
    std::vector<Entry> entries;
    std::vector<gsf::Ref<GsfInput>> viewed; // the streams whose bytes views point into

    int indexOf(std::string_view name) const {
        for (size_t i = 0; i < entries.size(); ++i)
            if (sameNameIgnoringCase(entries[i].name, name))
                return static_cast<int>(i);
        return -1;
    }

    gsf::Ref<GsfInput> child(std::string_view name) const {
        int index = indexOf(name);
        if (index < 0)
            throw StorageError("the compound file has no element \"" + std::string(name) + "\"");
        return openChild(root.get(), index, entries[static_cast<size_t>(index)].name);
    }
};

bool CompoundFile::hasSignature(std::string_view bytes) {
    return bytes.size() >= sizeof Signature &&
           std::memcmp(bytes.data(), Signature, sizeof Signature) == 0;
}

CompoundFile CompoundFile::open(std::string bytes) {
    gsf::initialise();
    auto impl = std::make_unique<Impl>();
    impl->bytes = std::move(bytes);
    if (!hasSignature(impl->bytes))
        throw StorageError("not a compound file");
    gsf::DamageWatch watch;
    impl->source.reset(gsf_input_memory_new(reinterpret_cast<const guint8*>(impl->bytes.data()),
                                            static_cast<gsf_off_t>(impl->bytes.size()), FALSE));
    if (!impl->source)
        throw StorageError("cannot read the compound file");
    GError* error = nullptr;
    impl->root.reset(gsf_infile_msole_new(impl->source.get(), &error));
    if (!impl->root)
        gsf::raise(error, "damaged compound file");
    if (error)
        g_error_free(error);

    int count = gsf_infile_num_children(impl->root.get());
    for (int i = 0; i < count; ++i) {
        const char* name = gsf_infile_name_by_index(impl->root.get(), i);
        Entry entry;
        entry.name = name ? name : "";
        // An element that cannot be opened is listed as an empty stream; reading it raises.
        gsf::Ref<GsfInput> child(gsf_infile_child_by_index(impl->root.get(), i));
        if (child) {
            entry.isStorage = isStorage(child.get());
            gsf_off_t size = entry.isStorage ? 0 : gsf_input_size(child.get());
            entry.size = size > 0 ? static_cast<uint64_t>(size) : 0;
        }
        impl->entries.push_back(std::move(entry));
    }
    watch.check("damaged compound file");
    return CompoundFile(std::move(impl));
}

CompoundFile::CompoundFile(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
CompoundFile::CompoundFile(CompoundFile&&) noexcept = default;
CompoundFile& CompoundFile::operator=(CompoundFile&&) noexcept = default;
CompoundFile::~CompoundFile() = default;

const std::vector<CompoundFile::Entry>& CompoundFile::entries() const {
    return impl_->entries;
}

const CompoundFile::Entry* CompoundFile::find(std::string_view name) const {
    int index = impl_->indexOf(name);
    return index < 0 ? nullptr : &impl_->entries[static_cast<size_t>(index)];
}

std::string CompoundFile::readStream(std::string_view name) const {
    gsf::DamageWatch watch;
    gsf::Ref<GsfInput> child = impl_->child(name);
    if (isStorage(child.get()))
        throw StorageError("\"" + std::string(name) + "\" is a storage, not a stream");
    std::string bytes = readWhole(child.get(), std::string(name), impl_->bytes.size());
    watch.check("damaged compound file");
    return bytes;
}

std::string_view CompoundFile::streamView(std::string_view name) {
    gsf::DamageWatch watch;
    gsf::Ref<GsfInput> child = impl_->child(name);
    if (isStorage(child.get()))
        throw StorageError("\"" + std::string(name) + "\" is a storage, not a stream");
    gsf_off_t size = gsf_input_size(child.get());
    if (size < 0 || static_cast<uint64_t>(size) > impl_->bytes.size())
        throw StorageError("the stream \"" + std::string(name) +
                           "\" is larger than its compound file");
    if (size == 0)
        return {};
    // Asked for no buffer, the library hands out its own bytes: those of the file where the
    // stream's sectors follow one another, else a copy it keeps with the stream.
    const guint8* bytes = gsf_input_read(child.get(), static_cast<size_t>(size), nullptr);
    if (!bytes)
        throw StorageError("cannot read the stream \"" + std::string(name) +
                           "\" of the compound file");
    watch.check("damaged compound file");
    impl_->viewed.push_back(std::move(child));
    return std::string_view(reinterpret_cast<const char*>(bytes), static_cast<size_t>(size));
}

StorageTree CompoundFile::captureStorage(std::string_view name) const {
    gsf::DamageWatch watch;
    gsf::Ref<GsfInput> child = impl_->child(name);
    if (!isStorage(child.get()))
        throw StorageError("\"" + std::string(name) + "\" is a stream, not a storage");
    uint64_t budget = impl_->bytes.size();
    StorageTree tree =
        copyStorage(GSF_INFILE(child.get()),
                    impl_->entries[static_cast<size_t>(impl_->indexOf(name))].name, budget, 1);
    watch.check("damaged compound file");
    return tree;
}

} // namespace platform
