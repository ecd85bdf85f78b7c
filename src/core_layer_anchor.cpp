// Gives every core library at least one source while its folder is still empty.
namespace varnelt_core_layer_anchor {
}
