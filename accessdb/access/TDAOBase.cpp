#include "accessdb/access/TDAOBase.h"

#include "accessdb/access/TDAOFields.h"
#include "accessdb/access/TDAOIndexes.h"
#include "accessdb/access/TDAORecordset.h"

namespace accessdb {

void TDAOBase::getName(std::string&) {}

void TDAOBase::setName(const std::string&) {}

std::unique_ptr<TDAOFields> TDAOBase::getFields() {
    return nullptr;
}

std::unique_ptr<TDAOIndexes> TDAOBase::getIndexes() {
    return nullptr;
}

std::unique_ptr<TDAORecordset> TDAOBase::openRecordset(const std::string&, int, int) {
    return nullptr;
}

} // namespace accessdb
