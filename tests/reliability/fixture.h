#pragma once
// The folder of System Databases the fault and kill tests work in, with the fault VFS
// installed for the test and disarmed after it.
#include "tests/reliability/faultvfs.h"
#include "tests/vtx/model/support.h"

namespace vyr::reliability {

class FaultVfsDatabases : public vtx::test::SystemDatabases {
protected:
    void SetUp() override
    {
        SystemDatabases::SetUp();
        installFaultVfs();
    }
    void TearDown() override
    {
        disarmFault();
        SystemDatabases::TearDown();
    }
};

} // namespace vyr::reliability
