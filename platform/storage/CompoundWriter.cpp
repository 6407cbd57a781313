#include "platform/storage/CompoundWriter.h"

#include "platform/storage/GsfSupport.h"

namespace platform {

namespace {

void closeChild(GsfOutput* child, const std::string& name) {
    bool closed = gsf_output_close(child);
    gsf::check(child, "cannot write \"" + name + "\" into the compound file");
    if (!closed)
        throw StorageError("cannot write \"" + name + "\" into the compound file");
}

gsf::Ref<GsfOutput> newChild(GsfOutfile* parent, const std::string& name, bool isStorage) {
    gsf::Ref<GsfOutput> child(gsf_outfile_new_child(parent, name.c_str(), isStorage));
    if (!child)
        throw StorageError("cannot create \"" + name + "\" in the compound file");
    return child;
}

void writeStream(GsfOutfile* parent, const std::string& name, std::string_view bytes) {
    gsf::Ref<GsfOutput> child = newChild(parent, name, false);
    if (!bytes.empty() && !gsf_output_write(child.get(), bytes.size(),
                                            reinterpret_cast<const guint8*>(bytes.data()))) {
        gsf::check(child.get(), "cannot write \"" + name + "\" into the compound file");
        throw StorageError("cannot write \"" + name + "\" into the compound file");
    }
    closeChild(child.get(), name);
}

void writeStorage(GsfOutfile* parent, const StorageTree& storage) {
    gsf::Ref<GsfOutput> child = newChild(parent, storage.name, true);
    GsfOutfile* folder = GSF_OUTFILE(child.get());
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(folder), storage.classId.data());
    for (const StorageTree::Stream& stream : storage.streams)
        writeStream(folder, stream.name, stream.bytes);
    for (const StorageTree& inner : storage.storages)
        writeStorage(folder, inner);
    closeChild(child.get(), storage.name);
}

} // namespace

struct CompoundWriter::Impl {
    gsf::Ref<GsfOutput> sink;
    gsf::Ref<GsfOutfile> root;
    bool finished = false;
};

CompoundWriter::CompoundWriter() : impl_(std::make_unique<Impl>()) {
    gsf::initialise();
    impl_->sink.reset(gsf_output_memory_new());
    if (!impl_->sink)
        throw StorageError("cannot create a compound file in memory");
    impl_->root.reset(gsf_outfile_msole_new(impl_->sink.get()));
    if (!impl_->root)
        throw StorageError("cannot create a compound file in memory");
}

CompoundWriter::~CompoundWriter() {
    // An unfinished file is abandoned: closing the root would only build bytes no one takes.
    if (impl_ && impl_->root && !impl_->finished)
        gsf_output_close(GSF_OUTPUT(impl_->root.get()));
}

void CompoundWriter::addStream(std::string_view name, std::string_view bytes) {
    if (impl_->finished)
        throw StorageError("the compound file is already finished");
    writeStream(impl_->root.get(), std::string(name), bytes);
}

void CompoundWriter::addStorage(const StorageTree& storage) {
    if (impl_->finished)
        throw StorageError("the compound file is already finished");
    writeStorage(impl_->root.get(), storage);
}

std::string CompoundWriter::finish() {
    if (impl_->finished)
        throw StorageError("the compound file is already finished");
    impl_->finished = true;
    GsfOutput* root = GSF_OUTPUT(impl_->root.get());
    bool closed = gsf_output_close(root);
    gsf::check(root, "cannot build the compound file");
    if (!closed)
        throw StorageError("cannot build the compound file");
    GsfOutput* sink = impl_->sink.get();
    gsf_off_t size = gsf_output_size(sink);
    const guint8* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink));
    if (size < 0 || (size > 0 && !data))
        throw StorageError("cannot build the compound file");
    return std::string(reinterpret_cast<const char*>(data), static_cast<size_t>(size));
}

} // namespace platform
