/* _qx_api_common: rules and declarations of the event/action engine. */
