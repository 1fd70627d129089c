// Removed once the simulator has sources of its own.
namespace kavro::sim {}
